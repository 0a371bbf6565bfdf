#pragma once
// The --catalogue and --star options shared by the subcommands: load a file into
// the form model as the load command does, and choose a star in its selector.
#include <ostream>
#include <string>

#include "catalogue/star_file.h"
#include "cli/cli_args.h"
#include "common/ui_ports.h"
#include "lists/message_gate.h"
#include "prediction/frm_yohou_model.h"

namespace tenmirel::cli {

// Prints the form's messages on the error stream, as the window would show them.
class StreamMessages : public MessageSink {
 public:
  explicit StreamMessages(std::ostream& err) : err_(err) {}
  void showMessage(const std::string& text) override {
    err_ << text << '\n';
    ++count;
  }
  int count = 0;

 private:
  std::ostream& err_;
};

// The check window has no place on a terminal.
class NoCheckWindow : public CheckWindowTrigger {
 public:
  void showCheckWindow() override {}
};

// A form model wired as the program wires it, with the terminal's ports: messages
// to the error stream through the gate (so a list shows a message repeated for
// every star once), no check window, and an open dialog answered from the
// command line.
struct FormSession {
  explicit FormSession(std::ostream& err) : messages(err), gate(messages), form(gate, checkWindow, chooser) {}
  StreamMessages messages;
  MessageGate gate;
  NoCheckWindow checkWindow;
  FixedChooser chooser;
  FrmYohouModel form;
};

// The file argument that means standard input.
inline constexpr const char* kStandardInputArgument = "-";

// Reads a catalogue file, pipe or ("-") standard input, once; the lists keep
// the star table's limit, the night plan reads any number of stars.
StarFileReadResult readCatalogueArgument(const std::string& path, RecordLimit limit = RecordLimit::starTable);

// Reads the file once and puts its stars into the form as its load command
// does. On failure says why in error.
bool loadCatalogue(FormSession& session, const std::string& path, std::string& error);

// Chooses the star by its name (see findStar) or its 0-based list position.
bool selectStar(FrmYohouModel& form, const std::string& nameOrIndex, std::string& error);

}  // namespace tenmirel::cli
