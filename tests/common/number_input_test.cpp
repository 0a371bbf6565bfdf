// Full-width characters typed into a number box become ASCII; nothing else changes.
#include "common/number_input.h"

#include <gtest/gtest.h>

#include "common/number_text.h"

namespace tenmirel {
namespace {

struct Case {
  const char* name;
  const char* typed;
  const char* shown;
  double parsed;
};

class AsciiNumberInputTest : public ::testing::TestWithParam<Case> {};

TEST_P(AsciiNumberInputTest, ConvertsAndParses) {
  const Case& c = GetParam();
  const std::string shown = asciiNumberInput(c.typed);
  EXPECT_EQ(shown, c.shown);
  EXPECT_EQ(parseLenient(shown), c.parsed);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AsciiNumberInputTest,
    ::testing::Values(Case{"year", "２０２６", "2026", 2026},
                      Case{"allDigits", "０１２３４５６７８９", "0123456789", 123456789},
                      Case{"decimal", "２４５１５４５．１２３４", "2451545.1234", 2451545.1234},
                      Case{"negative", "－０．５", "-0.5", -0.5}, Case{"plus", "＋３", "+3", 3},
                      Case{"exponent", "１．５Ｅ＋３", "1.5E+3", 1500}, Case{"smallExponent", "２ｅ－２", "2e-2", 0.02},
                      Case{"dExponent", "３Ｄ２", "3D2", 300}, Case{"smallD", "３ｄ１", "3d1", 30},
                      Case{"ideographicSpace", "２０　２６", "20 26", 2026}, Case{"mixed", "2０2６", "2026", 2026},
                      Case{"ascii", "2451545.5", "2451545.5", 2451545.5}, Case{"empty", "", "", 0},
                      // Other full-width letters and Japanese stay: the box keeps what it was given.
                      Case{"otherLetter", "１Ａ", "1Ａ", 1}, Case{"kanji", "２０２６年", "2026年", 2026},
                      Case{"halfWidthKatakana", "ﾕﾘｳｽ", "ﾕﾘｳｽ", 0}, Case{"fullWidthComma", "１，５", "1，5", 1},
                      // Broken or cut-off UTF-8 passes through untouched.
                      Case{"cutOff", "1\xEF\xBC", "1\xEF\xBC", 1}, Case{"stray", "\xBC\x92", "\xBC\x92", 0}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tenmirel
