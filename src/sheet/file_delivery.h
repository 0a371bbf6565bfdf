#pragma once
// A component that writes files tells the lists what became of the file, so a
// failed save is never passed off as a written list.
#include <optional>
#include <string>

#include "common/ui_ports.h"
#include "sheet/spreadsheet_component.h"

namespace tenmirel {

struct SavedFile {
  bool saved = false;
  std::string path;            // where the file is, or the name it was to have
  std::string reason;          // why it was not saved, in Japanese
  bool showRequested = false;  // the application was made visible: show the file
  bool shown = false;          // the default application opened it
};

class FileDelivery {
 public:
  virtual ~FileDelivery() = default;
  // Called before a list runs its opener; the name goes into the file name.
  virtual void beginList(const std::string& listName) = 0;
  // What became of the file of the last opener run; nothing when no file was begun.
  virtual std::optional<SavedFile> lastFile() const = 0;
};

// Where a list's rows go.
struct SheetOutput {
  SpreadsheetComponent& component;
  FileDelivery* delivery = nullptr;  // set when the component writes files
};

// Tells the user about a file that could not be saved. Returns false when the
// list did not reach a file.
bool reportFailedSave(const SheetOutput& output, MessageSink& messages);

// The closing message of a run with, on a line of its own, where the file lies
// when no application could show it; so one box ends a run. Either part may be empty.
std::string withFileLocation(const std::string& closing, const SheetOutput& output);

// The message for a file that could not be saved.
std::string saveFailedMessage(const SavedFile& file);
// The message for a saved file no application could show.
std::string fileNotShownMessage(const SavedFile& file);

}  // namespace tenmirel
