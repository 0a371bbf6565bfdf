#include "prediction/main_form.h"

#include <cmath>
#include <utility>

#include "astro/julian_day.h"
#include "astro/site_clock.h"
#include "catalogue/star_file.h"
#include "common/number_text.h"

namespace tenmirel {
namespace {

constexpr double kMinutesPerHour = 60;
constexpr double kDegreesPerHourOfRightAscension = 15;

bool allCellsWritten(const CalcLabels& labels) {
  // A term that is not a finite number leaves its cell empty.
  auto filled = [](const auto& cells) {
    for (const auto& cell : cells) {
      if (cell.empty()) return false;
    }
    return true;
  };
  return filled(labels.lblTu) && filled(labels.lblS0) && filled(labels.lblS) && filled(labels.lblSinh) &&
         !labels.lblH.empty();
}

// The local-minute search covers local 1600-01-01 00:00 up to the end of 3000.
bool withinCalendar(double extremumJulianDay) {
  static const double first = js(kSjFirstYear, 1, 1, 0, 0);
  static const double afterLast = js(kSjLastYear + 1, 1, 1, 0, 0);
  const double local = extremumJulianDay + kLocalDaysAheadOfUt;
  return local >= first && local < afterLast;
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

void FrmYohouModel::Form_Load(std::chrono::system_clock::time_point now) {
  const SiteClockReading local = siteLocalTime(now);
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

void FrmYohouModel::Command1_Click() {
  const int loaded = LoadStarFile(chooser_, messages_, starTable);
  if (loaded == 0) return;
  afterLoad(loaded);
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
    return;
  }
  const StarRecord& row = starTable[index];
  alpha = (parseLenient(row.alphaHour) + parseLenient(row.alphaMin) / kMinutesPerHour) *
          kDegreesPerHourOfRightAscension;
  delta = parseLenient(row.deltaDeg) + parseLenient(row.deltaMin) / kMinutesPerHour;
  if (row.deltaSign == kSouthSignText) delta = -delta;
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

bool FrmYohouModel::Command2_Click() {
  if (parseLenient(txtOutputKaiki) == kCheckWindowTriggerValue) checkWindow_.showCheckWindow();
  if (!checkStarAndElements()) return false;
  const double year = parseLenient(txtInputYear);
  const double month = parseLenient(txtInputMonth);
  const double day = parseLenient(txtInputDay);
  const double hour = parseLenient(txtInputHour);
  const double minute = parseLenient(txtInputMin);
  const double epoch = parseLenient(txtGanki);
  const double period = parseLenient(txtSyuki);
  if (period == 0) return refuse(PredictionRefusal::kZeroPeriod, kZeroPeriodMessage);
  // A period beyond the double range is refused below as too large.
  if (std::isfinite(period) && period < 0) return refuse(PredictionRefusal::kNegativePeriod, kNegativePeriodMessage);
  const double savedAlpha = alpha;
  const double savedDelta = delta;
  refreshCoordinates();
  const double reference = js(year, month, day, hour - kLocalHoursAheadOfUt, minute);
  const double cycle = floorTowardMinusInfinity((reference - epoch) / period) + 1;
  const double extremum = cycle * period + epoch;
  if (!showExtremum(cycle, extremum, true, reference, period)) {
    alpha = savedAlpha;
    delta = savedDelta;
    return false;
  }
  return true;
}

bool FrmYohouModel::Command3_Click() {
  if (!checkStarAndElements()) return false;
  if (txtOutputKaiki.empty()) return Command2_Click();
  const double cycle = parseLenient(txtOutputKaiki) + 1;
  const double epoch = parseLenient(txtGanki);
  const double period = parseLenient(txtSyuki);
  // A zero period is stepped (every cycle is the epoch itself); a negative one would walk backwards.
  if (std::isfinite(period) && period < 0) return refuse(PredictionRefusal::kNegativePeriod, kNegativePeriodMessage);
  return showExtremum(cycle, period * cycle + epoch, false, 0, period);
}

bool FrmYohouModel::showCycle(int starIndex, double cycle) {
  if (starIndex < 0 || starIndex >= starCount) return false;
  setCombo1ListIndex(starIndex);
  const double savedAlpha = alpha;
  const double savedDelta = delta;
  refreshCoordinates();  // the next-cycle step uses the coordinates of the last start
  txtOutputKaiki = numberToText(cycle - 1);
  if (Command3_Click()) return true;
  alpha = savedAlpha;
  delta = savedDelta;
  return false;
}

bool FrmYohouModel::showExtremum(double cycle, double extremumJulianDay, bool withReference,
                                 double referenceJulianDay, double period) {
  const bool withAltitude = !manualInputSelected();
  CalcLabels labels;  // every cell is written anew when the altitude is computed
  double siderealDegrees = theta;
  double altitudeDegrees = koudo;
  bool finite = std::isfinite(cycle) && std::isfinite(extremumJulianDay) &&
                (!withReference || std::isfinite(referenceJulianDay));
  if (finite && withAltitude) {
    siderealDegrees = CalcSidereal(extremumJulianDay, labels);
    altitudeDegrees = CalcAltitude(alpha, delta, siderealDegrees, labels);
    finite = std::isfinite(siderealDegrees) && std::isfinite(altitudeDegrees) && allCellsWritten(labels);
  }
  if (!finite) return refuse(PredictionRefusal::kTooLarge, kNotFiniteMessage);
  // The first extremum after the reference lies within one period after it; when
  // cycle x period + epoch says otherwise, the digits cancelled away.
  if (withReference && (extremumJulianDay < referenceJulianDay - kPrecisionToleranceDays ||
                        extremumJulianDay > referenceJulianDay + period + kPrecisionToleranceDays)) {
    return refuse(PredictionRefusal::kTooLarge, kNotFiniteMessage);
  }
  if (!withinCalendar(extremumJulianDay)) return refuse(PredictionRefusal::kOutsideCalendar, kOutsideCalendarMessage);

  if (withReference) {
    julKijun = referenceJulianDay;
    lblJulKijun = numberToText(julKijun);
  }
  kaiki = cycle;
  txtOutputKaiki = numberToText(kaiki);
  julKekka = extremumJulianDay;
  lblJulKekka = numberToText(julKekka);
  double shifted = julKekka;  // sj moves its argument to local time
  const LocalMinute local = sj(shifted);
  txtOutputYear = local.yearFound ? std::to_string(local.year) : std::string();
  txtOutputMonth = std::to_string(local.month);
  txtOutputDay = std::to_string(local.day);
  txtOutputHour = std::to_string(local.hour);
  txtOutputMin = std::to_string(local.minute);
  if (withAltitude) {
    calc = std::move(labels);
    theta = siderealDegrees;
    koudo = altitudeDegrees;
    txtOutputKoudo = numberToText(koudo);
  } else {
    txtOutputKoudo = kNoCoordinatesText;
  }
  return true;
}

}  // namespace tenmirel
