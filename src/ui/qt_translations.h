#pragma once
// Qt's own texts (the open dialog, standard buttons) in Japanese, like the rest
// of the program, whatever language the desktop is set to.
class QCoreApplication;

namespace tenmirel::ui {

// Loads qtbase_ja.qm (Debian qt6-translations-l10n) from Qt's translations
// folder and installs it. False when the file is missing: Qt then speaks English.
bool installQtJapanese(QCoreApplication& app);

}  // namespace tenmirel::ui
