#include "ui/program_settings.h"

#include <QSettings>

namespace tenmirel::ui {
namespace {

void carryOverOldSettings(QSettings& current);

// One folder for every setting, beside sites.toml; early versions kept these in
// tenmirel/tenmirel.conf, whose values are carried over once.
constexpr const char* kOrganization = "Tenmirel";
constexpr const char* kApplication = "Tenmirel";
constexpr const char* kOldOrganization = "tenmirel";
constexpr const char* kOldApplication = "tenmirel";
constexpr const char* kCarriedOverKey = "settings/carriedOverFromOldFolder";
constexpr const char* kDialogPositionKey = "FrmExcel/position";
constexpr const char* kCatalogueFolderKey = "catalogue/folder";

QSettings settings() {
  QSettings current(QSettings::NativeFormat, QSettings::UserScope, QString::fromUtf8(kOrganization),
                    QString::fromUtf8(kApplication));
  carryOverOldSettings(current);
  return QSettings(QSettings::NativeFormat, QSettings::UserScope, QString::fromUtf8(kOrganization),
                   QString::fromUtf8(kApplication));
}

void carryOverOldSettings(QSettings& current) {
  if (current.value(QString::fromUtf8(kCarriedOverKey)).toBool()) return;
  const QSettings old(QSettings::NativeFormat, QSettings::UserScope, QString::fromUtf8(kOldOrganization),
                      QString::fromUtf8(kOldApplication));
  // A value set since in the one folder wins; the old file is left as it was.
  for (const QString& key : old.allKeys()) {
    if (!current.contains(key)) current.setValue(key, old.value(key));
  }
  current.setValue(QString::fromUtf8(kCarriedOverKey), true);
  current.sync();
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

void saveCatalogueFolder(const QString& folder) { settings().setValue(QString::fromUtf8(kCatalogueFolderKey), folder); }

QString settingsFileName() { return settings().fileName(); }

}  // namespace tenmirel::ui
