#include "ui/qt_ports.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QSpacerItem>
#include <QUrl>
#include <QtMath>

namespace tenmirel::ui {

std::unique_ptr<QMessageBox> makeMessageBox(QWidget* parent, const QString& text) {
  auto box = std::make_unique<QMessageBox>(parent);
  box->setWindowTitle(QString::fromUtf8(kApplicationTitle));
  box->setTextFormat(Qt::PlainText);
  box->setText(text);
  box->setIcon(QMessageBox::NoIcon);
  box->setStandardButtons(QMessageBox::Ok);
  box->setDefaultButton(QMessageBox::Ok);
  box->setModal(true);
  // The box sizes itself to its text; a spacer across its grid keeps the title whole.
  if (auto* grid = qobject_cast<QGridLayout*>(box->layout())) {
    grid->addItem(new QSpacerItem(messageBoxMinimumWidth(*box), 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
                  grid->rowCount(), 0, 1, grid->columnCount());
  }
  return box;
}

int messageBoxMinimumWidth(const QMessageBox& box) {
  QFont titleFont = box.font();
  titleFont.setBold(true);
  return qCeil(QFontMetricsF(titleFont).horizontalAdvance(box.windowTitle())) + kTitleBarAllowancePixels;
}

bool askYesNo(QWidget* parent, const QString& text) {
  const std::unique_ptr<QMessageBox> box = makeMessageBox(parent, text);
  box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
  box->setDefaultButton(QMessageBox::Yes);
  box->button(QMessageBox::Yes)->setText(QString::fromUtf8("はい"));
  box->button(QMessageBox::No)->setText(QString::fromUtf8("いいえ"));
  return box->exec() == QMessageBox::Yes;
}

void QtMessageSink::showMessage(const std::string& text) {
  makeMessageBox(parent_, QString::fromStdString(text))->exec();
}

QString qtFileFilter(const std::string& description, const std::string& pattern) {
  const QString text = QString::fromStdString(description);
  const QString patternText = QString::fromStdString(pattern);
  if (text.endsWith(QLatin1Char('(') + patternText + QLatin1Char(')'))) return text;
  return text + QStringLiteral(" (") + patternText + QLatin1Char(')');
}

QString nearestExistingFolder(const QString& folder) {
  if (folder.isEmpty()) return QDir::homePath();
  // A folder that is gone would otherwise stand in the dialog's file name box.
  QString path = QDir::cleanPath(QDir(folder).absolutePath());
  while (!QFileInfo(path).isDir()) {
    const QString parent = QFileInfo(path).path();
    if (parent == path) return QDir::homePath();
    path = parent;
  }
  return path;
}

std::optional<std::string> QtFileChooser::chooseFileToOpen(const std::string& filterDescription,
                                                           const std::string& pattern) {
  QFileDialog dialog(parent_, QString(), nearestExistingFolder(startFolder_ ? startFolder_() : QString()),
                     qtFileFilter(filterDescription, pattern));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.selectFile(QString());
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  const QString chosen = dialog.selectedFiles().front();
  if (chosen.isEmpty()) return std::nullopt;
  // The reader opens the file by the name's bytes on this system.
  return QFile::encodeName(chosen).toStdString();
}

bool QtFileOpener::openWithDefaultApplication(const std::string& path) {
  return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

}  // namespace tenmirel::ui
