#pragma once
// The main window's logic without any window toolkit: every field the window shows
// is a text here, and every operation is one of the window's event operations.
// The Qt window binds its widgets to these texts; the list features drive this
// model exactly as a user drives the window.
#include <chrono>
#include <string>
#include <vector>

#include "astro/altitude.h"
#include "catalogue/star_file.h"
#include "catalogue/star_table.h"
#include "common/ui_ports.h"
#include "prediction/extremum_prediction.h"
#include "prediction/observing_site.h"
#include "sky/elements_time.h"

namespace tenmirel {

inline constexpr const char* kInitialCaption = "Tenmirel";
inline constexpr const char* kLoadedCaption = "TenmirelVar1.5";
inline constexpr const char* kManualInputEntry = "手動入力";
inline constexpr const char* kSelectStarMessage = "変光星を選択してください";
inline constexpr const char* kEnterElementsMessage = "元期と周期を入力してください";
// The cycle-number box value that opens the altitude check window.
inline constexpr double kCheckWindowTriggerValue = 4.61;

class FrmYohouModel {
 public:
  FrmYohouModel(MessageSink& messages, CheckWindowTrigger& checkWindow, FileChooser& chooser);

  // Window caption.
  std::string caption = kInitialCaption;

  // Inputs.
  std::string txtGanki;  // epoch, Julian day (UT)
  std::string txtSyuki;  // period, days
  std::string txtInputYear = "1999";
  std::string txtInputMonth = "3";
  std::string txtInputDay = "21";
  std::string txtInputHour = "9";
  std::string txtInputMin = "0";
  std::string lblMemo;

  // Outputs.
  std::string txtOutputYear;
  std::string txtOutputMonth;
  std::string txtOutputDay;
  std::string txtOutputHour;
  std::string txtOutputMin;
  std::string txtOutputKoudo;
  std::string txtOutputKaiki;
  std::string lblJulKijun;
  std::string lblJulKekka;
  // The result in the elements' time system ("HJD 2461382.51234") for the result
  // Julian day's tooltip; empty for JD elements.
  std::string lblJulKekkaElements;
  // How far the result can be trusted, for the tooltip of its minute only (the
  // window's texts stay as designed).
  std::string txtOutputMinTip;

  // The star selector: entries and the selected position (-1 for none).
  std::vector<std::string> combo1Items;
  int combo1ListIndex() const { return combo1ListIndex_; }
  // Setting the position runs Combo1_Click, as choosing an entry does.
  void setCombo1ListIndex(int index);
  // The text of the selected entry, empty when none is selected.
  std::string combo1Text() const;

  // The star table and the state of the last prediction.
  StarTable starTable;
  int starCount = 0;
  double alpha = 0;  // degrees
  double delta = 0;  // degrees, south negative
  double kaiki = 0;
  double julKijun = 0;
  double julKekka = 0;
  double theta = 0;  // degrees
  double koudo = 0;  // degrees

  // The calculation cells shown by the altitude check window.
  CalcLabels calc;

  // The site predictions are made for (the built-in one until another is chosen).
  // A site that cannot be used is refused with its reason and changes nothing.
  sky::Refusal useSite(const sky::Site& site);
  const ObservingSite& site() const { return site_; }
  // The time system of the loaded elements (JD until told otherwise).
  void useElementsTime(sky::ElementsTime system) { elementsTime_ = system; }
  sky::ElementsTime elementsTime() const { return elementsTime_; }

  // Types the reference date and time into the five reference fields.
  void typeReference(const ReferenceTexts& reference);

  // Event operations.
  // Fills the reference fields from the clock, in the site's local time (UT + 9 h
  // at the built-in site).
  void Form_Load(std::chrono::system_clock::time_point now);
  void Combo1_Click();
  // Loads a catalogue; returns whether one was loaded.
  bool Command1_Click();
  bool MenuOpen_Click() { return Command1_Click(); }
  // Prediction start. Returns whether a prediction was written (false when a
  // message was shown instead and the outputs kept what they held).
  bool Command2_Click();
  bool MenuYohouStart_Click() { return Command2_Click(); }
  // Next cycle. Returns whether a prediction was written.
  bool Command3_Click();
  bool MenuNext_Click() { return Command3_Click(); }

  // Shows the extremum of the given cycle of the star at the list position, as the
  // night plan asks for it: the star is chosen and the next-cycle step runs from
  // cycle - 1, so the result is E × P + E0 through the same texts as a user's steps.
  // Returns whether a prediction was written.
  bool showCycle(int starIndex, double cycle);
  // The same from a reference typed first (the plan's night), whose Julian day is
  // shown as a prediction start shows it.
  bool showCycleFrom(const ReferenceTexts& reference, int starIndex, double cycle);

  // After the site or the elements' time system changed: a result on show is
  // predicted again from the same reference, or cleared when that is refused, so
  // that no result of the old setting stays on show. Returns whether one is shown.
  bool predictAgain();
  // Empties the result, the reference's Julian day and the check window's cells.
  void clearResult();

  // Sets alpha and delta for the selected entry from the star table (0 and 0 for
  // the manual-input entry), as the prediction start does.
  void refreshCoordinates();

  MessageSink& messages() { return messages_; }
  PredictionRefusal lastRefusal() const { return lastRefusal_; }
  // How the last load's reading went (no records): the window says more about a
  // catalogue too large for the table than the load itself does.
  const StarFileReadResult& lastLoad() const { return lastLoad_; }

  // Puts the records of an already read catalogue into the table as the load
  // command does after reading its file (the first star chosen, the caption set).
  void useCatalogue(std::vector<StarRecord> records);

 private:
  // The checks shared by the prediction start and the next cycle: false after
  // showing their message.
  bool checkStarAndElements();
  // The prediction start without the check window's trigger.
  bool predictFromReference();
  // What the prediction works from: the site, the elements' time system and the
  // current coordinates (none for the manual-input entry).
  PredictionSetting predictionSetting() const;
  // Writes a prediction's texts into the outputs, or shows its refusal.
  bool show(PredictionResult&& result);
  bool manualInputSelected() const { return combo1ListIndex_ == starCount; }
  bool refuse(PredictionRefusal why, const char* message);
  void afterLoad(int loaded);

  // Whether the row alpha and delta were read from gives a place (rowHasPlace).
  bool rowHasPlace_ = false;
  MessageSink& messages_;
  CheckWindowTrigger& checkWindow_;
  FileChooser& chooser_;
  int combo1ListIndex_ = -1;
  PredictionRefusal lastRefusal_ = PredictionRefusal::kNone;
  StarFileReadResult lastLoad_;
  ObservingSite site_ = ObservingSite::builtIn();
  sky::ElementsTime elementsTime_ = sky::ElementsTime::jd;
};

}  // namespace tenmirel
