#include "ui/program_settings.h"

#include <QSettings>

namespace tenmirel::ui {
namespace {

constexpr const char* kOrganization = "tenmirel";
constexpr const char* kApplication = "tenmirel";
constexpr const char* kDialogPositionKey = "FrmExcel/position";
constexpr const char* kCatalogueFolderKey = "catalogue/folder";

QSettings settings() {
  return QSettings(QSettings::NativeFormat, QSettings::UserScope, QString::fromUtf8(kOrganization),
                   QString::fromUtf8(kApplication));
}

}  // namespace

std::optional<QPoint> savedDialogPosition() {
  const QVariant value = settings().value(QString::fromUtf8(kDialogPositionKey));
  if (!value.isValid() || !value.canConvert<QPoint>()) return std::nullopt;
  return value.toPoint();
}

void saveDialogPosition(const QPoint& position) {
  settings().setValue(QString::fromUtf8(kDialogPositionKey), position);
}

QString savedCatalogueFolder() { return settings().value(QString::fromUtf8(kCatalogueFolderKey)).toString(); }

void saveCatalogueFolder(const QString& folder) {
  settings().setValue(QString::fromUtf8(kCatalogueFolderKey), folder);
}

QString settingsFileName() { return settings().fileName(); }

}  // namespace tenmirel::ui
