#pragma once
// A main window with the sample catalogue and the plan window opened from its
// menu, every file (settings, sites, exports) in a temporary folder, and a fixed
// clock: 2024-11-20 12:00 UT, 21:00 at the built-in site.
#include <QAction>
#include <QPushButton>
#include <chrono>
#include <deque>
#include <memory>

#include "catalogue/star_file.h"
#include "prediction/night_stars.h"
#include "sheet/recording_opener.h"
#include "sky/night_plan.h"
#include "support/recording_ports.h"
#include "ui/frm_yohou.h"
#include "ui/plan/plan_menu.h"
#include "ui/plan/plan_window.h"

namespace tenmirel::testing {

inline std::chrono::system_clock::time_point eveningClock() {
  using namespace std::chrono;
  return sys_days{year{2024} / November / 20} + hours{12};
}

inline std::filesystem::path sampleCatalogue() { return sourceDir() / "data" / "sample.vsd"; }

inline std::vector<sky::NightStar> sampleStars() { return nightStarsOf(readStarFile(sampleCatalogue()).records); }

struct PlanHarness {
  TempDir dir;
  RecordingMessages messages;
  ScriptedChooser chooser;
  RecordingOpener opener;
  std::deque<QString> saveAnswers;      // paths the save dialog answers with; empty: cancelled
  std::vector<QString> suggestedPaths;  // what the save dialog was opened with
  std::deque<bool> yesNoAnswers;        // answers to questions; empty: "いいえ"
  std::vector<std::string> questions;
  std::unique_ptr<ui::FrmYohou> window;

  PlanHarness() {
    ui::FrmYohouPorts ports;
    ports.messages = &messages;
    ports.chooser = &chooser;
    ports.endProgram = [] {};
    ports.fileOpener = &opener;
    ports.documentsFolder = dir.path();
    ports.plan = planPorts();
    ports.askYesNo = [this](const std::string& question) {
      questions.push_back(question);
      if (yesNoAnswers.empty()) return false;
      const bool answer = yesNoAnswers.front();
      yesNoAnswers.pop_front();
      return answer;
    };
    window = std::make_unique<ui::FrmYohou>(std::move(ports), eveningClock());
  }

  ui::PlanWindowPorts planPorts() {
    ui::PlanWindowPorts ports;
    ports.messages = &messages;
    ports.chooser = &chooser;
    ports.chooseSaveFile = [this](const QString&, const QString& suggested, const QString&) {
      suggestedPaths.push_back(suggested);
      if (saveAnswers.empty()) return QString();
      QString answer = saveAnswers.front();
      saveAnswers.pop_front();
      return answer;
    };
    ports.fileOpener = &opener;
    ports.documentsFolder = dir.path();
    ports.sitesFile = dir.path() / "sites.toml";
    ports.elementsSettingsFile = dir.path() / "settings.toml";
    ports.settingsFile = QString::fromStdString((dir.path() / "plan.ini").string());
    ports.clock = eveningClock;
    return ports;
  }

  void loadSample() {
    chooser.answers.push_back(sampleCatalogue().string());
    window->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
  }

  ui::PlanWindow& openPlan() {
    window->mnuPlan()->trigger();
    return *window->planMenu().planWindow();
  }

  QString path(const char* name) const { return QString::fromStdString((dir.path() / name).string()); }
};

}  // namespace tenmirel::testing
