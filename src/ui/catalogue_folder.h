#pragma once
// The folder the open dialog starts in.
#include <QString>

namespace tenmirel::ui {

// The installed sample catalogue's folder (share/tenmirel beside the program's
// bin, or on the desktop's data paths); empty when it is not installed.
QString installedSampleFolder();

// The folder of the last catalogue loaded while it still exists, else the
// sample's folder when there is one, else the documents folder.
QString catalogueStartFolder(const QString& lastLoaded, const QString& sampleFolder, const QString& documents);

}  // namespace tenmirel::ui
