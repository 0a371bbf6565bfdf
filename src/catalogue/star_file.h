#pragma once
// Reading a catalogue file into the star table.
#include "catalogue/star_table.h"
#include "common/ui_ports.h"

namespace tenmirel {

inline constexpr const char* kCatalogueMagicLine = "Quorrelith 1999";
inline constexpr const char* kCatalogueFilterDescription = "変光星ﾃﾞｰﾀﾌｧｲﾙ(*.vsd)";
inline constexpr const char* kCataloguePattern = "*.vsd";
inline constexpr const char* kWrongMagicMessage = "Error!";

// Asks the chooser for a file and reads it. On success rows 0..N-1 of the table
// are replaced and N is returned; on any failure the table is untouched and 0 is
// returned. The only message is "Error!" for a file without the magic line.
int LoadStarFile(FileChooser& chooser, MessageSink& messages, StarTable& table);

}  // namespace tenmirel
