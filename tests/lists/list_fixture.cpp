#include "lists/list_fixture.h"

#include <stdexcept>

#include "astro/julian_day.h"
#include "catalogue/catalogue_writer.h"
#include "common/number_text.h"

namespace tenmirel::testing {
namespace {

// A second into the minute keeps the extremum inside it after the epoch has been
// rounded to 15 significant digits.
constexpr double kOneSecondInDays = 1.0 / 86400.0;

}  // namespace

TestStar star(const std::string& name, const std::string& ganki, const std::string& syuki) {
  TestStar result;
  result.name = name;
  result.ganki = ganki;
  result.syuki = syuki;
  return result;
}

std::string catalogueText(const std::vector<TestStar>& stars) {
  std::vector<StarRecord> records;
  for (const TestStar& s : stars) {
    records.push_back({s.name, s.ganki, s.syuki, s.alphaHour, s.alphaMin, s.deltaSign, s.deltaDeg, s.deltaMin, s.memo});
  }
  return catalogueFileText(records);
}

std::string epochAtLocal(int year, int month, int day, int hour, int minute) {
  return numberToText(js(year, month, day, hour - kLocalHoursAheadOfUt, minute) + kOneSecondInDays);
}

void ListFixture::load(const std::vector<TestStar>& stars) {
  chooser.answers.push_back(dir.write("stars.vsd", catalogueText(stars)).string());
  form.Command1_Click();
  if (form.starCount != static_cast<int>(stars.size())) throw std::runtime_error("test catalogue did not load");
}

void ListFixture::setReference(const std::string& year, const std::string& month, const std::string& day,
                               const std::string& hour, const std::string& minute) {
  form.typeReference({year, month, day, hour, minute});
}

}  // namespace tenmirel::testing
