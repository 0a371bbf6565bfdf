#include "ui/catalogue_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace tenmirel::ui {
namespace {

constexpr const char* kSampleInShare = "tenmirel/sample.vsd";

}  // namespace

QString installedSampleFolder() {
  const QString beside =
      QCoreApplication::applicationDirPath() + QStringLiteral("/../share/") + QString::fromUtf8(kSampleInShare);
  if (QFileInfo::exists(beside)) return QFileInfo(beside).canonicalPath();
  const QString onDataPaths =
      QStandardPaths::locate(QStandardPaths::GenericDataLocation, QString::fromUtf8(kSampleInShare));
  return onDataPaths.isEmpty() ? QString() : QFileInfo(onDataPaths).canonicalPath();
}

QString catalogueStartFolder(const QString& lastLoaded, const QString& sampleFolder, const QString& documents) {
  if (!lastLoaded.isEmpty() && QDir(lastLoaded).exists()) return lastLoaded;
  if (!sampleFolder.isEmpty()) return sampleFolder;
  return documents;
}

}  // namespace tenmirel::ui
