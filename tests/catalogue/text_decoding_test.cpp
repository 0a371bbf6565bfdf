#include <gtest/gtest.h>

#include "catalogue/text_decoding.h"

namespace tenmirel {
namespace {

TEST(TextDecoding, AsciiIsTheSameInBothEncodings) {
  std::string ascii;
  for (int c = 0; c < 0x80; ++c) ascii.push_back(static_cast<char>(c));
  EXPECT_EQ(decodeLine(ascii, TextEncoding::cp932), ascii);
  EXPECT_EQ(decodeLine(ascii, TextEncoding::utf8), ascii);
}

TEST(TextDecoding, Cp932IsTheWindowsCodePage) {
  struct Case {
    const char* bytes;
    const char* text;
  };
  const Case cases[] = {
      {"\x81\x60", "～"},  // FULLWIDTH TILDE, where plain Shift_JIS has the wave dash
      {"\x81\x7C", "－"},  // FULLWIDTH HYPHEN-MINUS, not MINUS SIGN
      {"\x87\x40", "①"},  {"\x87\x8A", "㈱"}, {"\x87\x54", "Ⅰ"},  // NEC special characters
      {"\xED\x40", "纊"},                                         // NEC-selected IBM extension
      {"\xFA\x40", "ⅰ"},                                          // IBM extension
      {"\x88\x9F", "亜"}, {"\xB1", "ｱ"},
  };
  for (const Case& c : cases) EXPECT_EQ(decodeLine(c.bytes, TextEncoding::cp932), c.text) << c.text;
}

TEST(TextDecoding, UndecodableBytesBecomeReplacementCharacters) {
  TextDecoder decoder(TextEncoding::cp932);
  std::string out;
  EXPECT_EQ(decoder.decode("a\x80"
                           "b\x85\x40"
                           "c\x82",
                           out),
            3u);
  EXPECT_EQ(out,
            "a\xEF\xBF\xBD"
            "b\xEF\xBF\xBD@c\xEF\xBF\xBD");
  // The decoder carries nothing over from a broken line to the next.
  out.clear();
  EXPECT_EQ(decoder.decode("\x88\x9F", out), 0u);
  EXPECT_EQ(out, "亜");
}

TEST(TextDecoding, LongLinesDecodeWhole) {
  std::string bytes, expected;
  for (int i = 0; i < 3000; ++i) {
    bytes += "\x88\x9F";
    expected += "亜";
  }
  EXPECT_EQ(decodeLine(bytes, TextEncoding::cp932), expected);
}

TEST(TextDecoding, ValidUtf8IsStrict) {
  EXPECT_TRUE(isValidUtf8(""));
  EXPECT_TRUE(isValidUtf8("plain"));
  EXPECT_TRUE(isValidUtf8("食変光星 ～ 😀"));
  EXPECT_FALSE(isValidUtf8("\xC0\xAF"));      // overlong "/"
  EXPECT_FALSE(isValidUtf8("\xED\xA0\x80"));  // surrogate
  EXPECT_FALSE(isValidUtf8("\xE3\x81"));      // cut short
  EXPECT_FALSE(isValidUtf8("\x83\x7E"));      // CP932 "ミ"
}

TEST(TextDecoding, DetectsTheEncodingOfAFile) {
  EXPECT_EQ(detectEncoding({"abc", "def"}, false), TextEncoding::cp932);
  EXPECT_EQ(detectEncoding({"abc", "食"}, false), TextEncoding::utf8);
  EXPECT_EQ(detectEncoding({"食", "\x83\x7E"}, false), TextEncoding::cp932);
  EXPECT_EQ(detectEncoding({"abc"}, true), TextEncoding::utf8);
  EXPECT_EQ(detectEncoding({"\x83\x7E"}, true), TextEncoding::utf8);
}

}  // namespace
}  // namespace tenmirel
