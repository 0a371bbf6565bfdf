#include "prediction/frm_yohou_model.h"

#include <cmath>
#include <utility>

#include "astro/julian_day.h"
#include "astro/site_clock.h"
#include "catalogue/star_file.h"
#include "common/number_text.h"
#include "prediction/prediction_uncertainty.h"
#include "prediction/star_place.h"

namespace tenmirel {
namespace {

constexpr double kJulianDayOfUnixEpoch = 2440587.5;
constexpr double kSecondsPerDay = 86400;

double julianDayOf(std::chrono::system_clock::time_point now) {
  using namespace std::chrono;
  return kJulianDayOfUnixEpoch + duration<double>(now.time_since_epoch()).count() / kSecondsPerDay;
}

}  // namespace

FrmYohouModel::FrmYohouModel(MessageSink& messages, CheckWindowTrigger& checkWindow, FileChooser& chooser)
    : messages_(messages), checkWindow_(checkWindow), chooser_(chooser) {}

void FrmYohouModel::setCombo1ListIndex(int index) {
  if (index < -1 || index >= static_cast<int>(combo1Items.size())) return;
  combo1ListIndex_ = index;
  if (index >= 0) Combo1_Click();
}

std::string FrmYohouModel::combo1Text() const {
  if (combo1ListIndex_ < 0 || combo1ListIndex_ >= static_cast<int>(combo1Items.size())) return {};
  return combo1Items[static_cast<std::size_t>(combo1ListIndex_)];
}

sky::Refusal FrmYohouModel::useSite(const sky::Site& site) {
  sky::Checked<ObservingSite> chosen = ObservingSite::of(site);
  if (!chosen) return chosen.message();
  site_ = *chosen;
  return std::nullopt;
}

void FrmYohouModel::typeReference(const ReferenceTexts& reference) {
  txtInputYear = reference.year;
  txtInputMonth = reference.month;
  txtInputDay = reference.day;
  txtInputHour = reference.hour;
  txtInputMin = reference.minute;
}

void FrmYohouModel::Form_Load(std::chrono::system_clock::time_point now) {
  const SiteClockReading local =
      site_.isBuiltIn() ? siteLocalTime(now)
                        : siteLocalTime(now, std::chrono::seconds(site_.zone().offsetAtUt(julianDayOf(now)).seconds));
  const auto& date = local.date;
  const auto& clock = local.time;
  txtInputYear = std::to_string(static_cast<int>(date.year()));
  txtInputMonth = std::to_string(static_cast<unsigned>(date.month()));
  txtInputDay = std::to_string(static_cast<unsigned>(date.day()));
  txtInputHour = std::to_string(clock.hours().count());
  txtInputMin = std::to_string(clock.minutes().count());
  starCount = 0;
  combo1Items = {kManualInputEntry};
  combo1ListIndex_ = -1;
}

void FrmYohouModel::Combo1_Click() {
  const int index = combo1ListIndex_;
  if (index < 0) return;
  if (!StarTable::hasRow(index)) {
    // The manual-input entry after a catalogue of 1001 stars has no row.
    txtGanki.clear();
    txtSyuki.clear();
    lblMemo.clear();
    return;
  }
  const StarRecord& row = starTable[index];
  txtGanki = row.ganki;
  txtSyuki = row.syuki;
  lblMemo = row.memo;
}

bool FrmYohouModel::Command1_Click() {
  const int loaded = LoadStarFile(chooser_, messages_, starTable, &lastLoad_);
  if (loaded == 0) return false;
  afterLoad(loaded);
  return true;
}

void FrmYohouModel::useCatalogue(std::vector<StarRecord> records) {
  if (records.empty() || !StarTable::hasRow(static_cast<int>(records.size()) - 1)) return;
  const int loaded = static_cast<int>(records.size());
  for (int i = 0; i < loaded; ++i) starTable[i] = std::move(records[static_cast<std::size_t>(i)]);
  afterLoad(loaded);
}

void FrmYohouModel::afterLoad(int loaded) {
  starCount = loaded;
  combo1Items.clear();
  combo1ListIndex_ = -1;
  for (int i = 0; i < loaded; ++i) combo1Items.push_back(starTable[i].starName);
  combo1Items.emplace_back(kManualInputEntry);
  setCombo1ListIndex(0);
  caption = kLoadedCaption;
}

void FrmYohouModel::refreshCoordinates() {
  const int index = combo1ListIndex_;
  if (index == starCount || !StarTable::hasRow(index)) {
    alpha = 0;
    delta = 0;
    rowHasPlace_ = false;
    return;
  }
  const StarPlace place = starPlaceOf(starTable[index]);
  alpha = place.alphaDegrees;
  delta = place.deltaDegrees;
  rowHasPlace_ = rowHasPlace(starTable[index]);
}

bool FrmYohouModel::refuse(PredictionRefusal why, const char* message) {
  lastRefusal_ = why;
  messages_.showMessage(message);
  return false;
}

bool FrmYohouModel::checkStarAndElements() {
  lastRefusal_ = PredictionRefusal::kNone;
  // The selection is asked for first, even when the elements are empty too.
  if (combo1ListIndex_ == -1) return refuse(PredictionRefusal::kNoStar, kSelectStarMessage);
  // Only emptiness counts: blanks or letters pass and parse as 0.
  if (txtSyuki.empty() || txtGanki.empty()) return refuse(PredictionRefusal::kNoElements, kEnterElementsMessage);
  return true;
}

PredictionSetting FrmYohouModel::predictionSetting() const {
  PredictionSetting setting;
  setting.site = &site_;
  setting.elementsTime = elementsTime_;
  // The designed JD reading takes a row without a place as 0h, 0°; the other time
  // systems need the place and refuse such a row as they refuse the manual entry.
  if (!manualInputSelected() && (elementsTime_ == sky::ElementsTime::jd || rowHasPlace_)) {
    setting.alphaDegrees = alpha;
    setting.deltaDegrees = delta;
  }
  return setting;
}

bool FrmYohouModel::Command2_Click() {
  if (parseLenient(txtOutputKaiki) == kCheckWindowTriggerValue) checkWindow_.showCheckWindow();
  return predictFromReference();
}

bool FrmYohouModel::predictFromReference() {
  if (!checkStarAndElements()) return false;
  const double savedAlpha = alpha;
  const double savedDelta = delta;
  const bool savedHasPlace = rowHasPlace_;
  refreshCoordinates();
  PredictionResult result = predictFirstAfter({txtInputYear, txtInputMonth, txtInputDay, txtInputHour, txtInputMin},
                                              txtGanki, txtSyuki, predictionSetting());
  if (!show(std::move(result))) {
    alpha = savedAlpha;
    delta = savedDelta;
    rowHasPlace_ = savedHasPlace;
    return false;
  }
  return true;
}

bool FrmYohouModel::Command3_Click() {
  if (!checkStarAndElements()) return false;
  if (txtOutputKaiki.empty()) return Command2_Click();
  return show(predictNextCycle(txtOutputKaiki, txtGanki, txtSyuki, predictionSetting()));
}

bool FrmYohouModel::showCycle(int starIndex, double cycle) {
  if (starIndex < 0 || starIndex >= starCount) return false;
  setCombo1ListIndex(starIndex);
  const double savedAlpha = alpha;
  const double savedDelta = delta;
  const bool savedHasPlace = rowHasPlace_;
  refreshCoordinates();  // the next-cycle step uses the coordinates of the last start
  txtOutputKaiki = numberToText(cycle - 1);
  if (Command3_Click()) return true;
  alpha = savedAlpha;
  delta = savedDelta;
  rowHasPlace_ = savedHasPlace;
  return false;
}

bool FrmYohouModel::showCycleFrom(const ReferenceTexts& reference, int starIndex, double cycle) {
  if (starIndex < 0 || starIndex >= starCount) return false;
  typeReference(reference);
  if (!showCycle(starIndex, cycle)) return false;
  const PredictionResult start = predictFirstAfter(reference, txtGanki, txtSyuki, predictionSetting());
  if (start.ok() && !start.extremum.referenceJulianDayText.empty()) {
    julKijun = start.extremum.referenceJulianDay;
    lblJulKijun = start.extremum.referenceJulianDayText;
  }
  return true;
}

bool FrmYohouModel::predictAgain() {
  if (txtOutputKaiki.empty() && lblJulKekka.empty()) return false;
  if (predictFromReference()) return true;
  clearResult();
  return false;
}

void FrmYohouModel::clearResult() {
  for (std::string* text : {&txtOutputYear, &txtOutputMonth, &txtOutputDay, &txtOutputHour, &txtOutputMin,
                            &txtOutputKoudo, &txtOutputKaiki, &lblJulKijun, &lblJulKekka, &lblJulKekkaElements}) {
    text->clear();
  }
  calc = CalcLabels{};
}

bool FrmYohouModel::show(PredictionResult&& result) {
  if (!result.ok()) {
    lastRefusal_ = result.refusal;
    messages_.showMessage(result.message);
    return false;
  }
  PredictedExtremum& extremum = result.extremum;
  if (!extremum.referenceJulianDayText.empty()) {
    julKijun = extremum.referenceJulianDay;
    lblJulKijun = std::move(extremum.referenceJulianDayText);
  }
  kaiki = extremum.cycle;
  txtOutputKaiki = std::move(extremum.cycleText);
  julKekka = extremum.julianDay;
  lblJulKekka = std::move(extremum.julianDayText);
  lblJulKekkaElements = std::move(extremum.elementsTimeText);
  txtOutputYear = std::move(extremum.year);
  txtOutputMonth = std::move(extremum.month);
  txtOutputDay = std::move(extremum.day);
  txtOutputHour = std::move(extremum.hour);
  txtOutputMin = std::move(extremum.minute);
  txtOutputMinTip =
      predictionUncertaintyText(txtGanki, txtSyuki, kaiki, manualInputSelected() ? std::string() : lblMemo);
  txtOutputKoudo = std::move(extremum.altitudeText);
  if (!manualInputSelected()) {
    calc = std::move(extremum.calc);
    theta = extremum.siderealDegrees;
    koudo = extremum.altitudeDegrees;
  }
  return true;
}

}  // namespace tenmirel
