#pragma once
// The little the program keeps between runs: where the list dialog was left and
// the folder of the last catalogue loaded. Stored with QSettings in the user's
// configuration folder ($XDG_CONFIG_HOME/Tenmirel/Tenmirel.conf, beside the
// sites), the values of an older tenmirel/tenmirel.conf carried over once.
#include <QPoint>
#include <QString>
#include <optional>

namespace tenmirel::ui {

std::optional<QPoint> savedDialogPosition();
void saveDialogPosition(const QPoint& position);

QString savedCatalogueFolder();
void saveCatalogueFolder(const QString& folder);

// The file the settings live in.
QString settingsFileName();

}  // namespace tenmirel::ui
