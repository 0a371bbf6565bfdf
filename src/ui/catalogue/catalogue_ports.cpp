#include "ui/catalogue/catalogue_ports.h"

#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QWidget>

#include "common/ui_ports.h"

namespace tenmirel::ui {

CatalogueWindowPorts qtCatalogueWindowPorts(QWidget* parent) {
  QPointer<QWidget> owner(parent);
  CatalogueWindowPorts ports;
  ports.chooseCatalogueToImport = [owner]() -> std::optional<std::string> {
    const QString chosen =
        QFileDialog::getOpenFileName(owner, QStringLiteral("取り込むカタログ"), {},
                                     QStringLiteral("カタログ (*.txt *.dat *.csv *.tsv *.json);;すべてのファイル (*)"));
    if (chosen.isEmpty()) return std::nullopt;
    return std::string(QFile::encodeName(chosen).constData());
  };
  ports.chooseFileToWrite = [owner](const std::string& suggested) -> std::optional<std::string> {
    const QString chosen =
        QFileDialog::getSaveFileName(owner, QStringLiteral("変光星データファイルの保存"),
                                     QString::fromStdString(suggested), QStringLiteral("変光星ﾃﾞｰﾀﾌｧｲﾙ(*.vsd)"));
    if (chosen.isEmpty()) return std::nullopt;
    return std::string(QFile::encodeName(chosen).constData());
  };
  ports.confirm = [owner](const std::string& question) {
    return QMessageBox::question(owner, QString::fromUtf8(kApplicationTitle), QString::fromStdString(question)) ==
           QMessageBox::Yes;
  };
  ports.tell = [owner](const std::string& text) {
    QMessageBox::information(owner, QString::fromUtf8(kApplicationTitle), QString::fromStdString(text));
  };
  return ports;
}

}  // namespace tenmirel::ui
