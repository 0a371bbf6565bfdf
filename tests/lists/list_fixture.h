#pragma once
// A main window form model wired as the program wires it (messages through the
// gate), with catalogues written by the tests.
#include <string>
#include <vector>

#include "lists/message_gate.h"
#include "prediction/frm_yohou_model.h"
#include "support/recording_ports.h"

namespace tenmirel::testing {

struct TestStar {
  std::string name;
  std::string ganki;
  std::string syuki;
  std::string alphaHour = "5";
  std::string alphaMin = "30";
  std::string deltaSign = "True";
  std::string deltaDeg = "12";
  std::string deltaMin = "15";
  std::string memo;
};

// A star at 5h 30m, +12° 15' with the given elements.
TestStar star(const std::string& name, const std::string& ganki, const std::string& syuki);

// A catalogue file's bytes: the magic line, the count, nine CR LF lines a star.
std::string catalogueText(const std::vector<TestStar>& stars);

// An epoch text whose extremum falls a second into the given local minute.
std::string epochAtLocal(int year, int month, int day, int hour, int minute);

class ListFixture {
 public:
  ListFixture() : form(gate, checkWindow, chooser) {}
  // Writes the catalogue and loads it through the load command.
  void load(const std::vector<TestStar>& stars);
  // Types a reference date and time into the main window.
  void setReference(const std::string& year, const std::string& month, const std::string& day,
                    const std::string& hour = "0", const std::string& minute = "0");

  TempDir dir;
  RecordingMessages boxes;
  MessageGate gate{boxes};
  RecordingCheckWindow checkWindow;
  ScriptedChooser chooser;
  FrmYohouModel form;
};

}  // namespace tenmirel::testing
