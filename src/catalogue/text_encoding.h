#pragma once
// Turning UTF-8 text into the bytes of a catalogue file (CP932), the reverse of
// text_decoding.h: what a writer of .vsd files needs, with a plain answer for a
// character the code page lacks.
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace tenmirel {

// One iconv conversion from UTF-8 to CP932, opened once and used for many texts.
class Cp932Encoder {
 public:
  Cp932Encoder();
  ~Cp932Encoder();
  Cp932Encoder(const Cp932Encoder&) = delete;
  Cp932Encoder& operator=(const Cp932Encoder&) = delete;

  // The CP932 bytes of the text; none when a character has no CP932 form or the
  // text is not UTF-8. ASCII comes out unchanged.
  std::optional<std::string> encode(std::string_view utf8);

 private:
  std::optional<std::string> convert(std::string_view utf8);
  void* handle_;  // iconv_t
  // Runs of non-ASCII text already converted: catalogue texts repeat the same
  // few Japanese words, so most runs are found here.
  std::unordered_map<std::string, std::optional<std::string>> runs_;
};

// One text through a fresh encoder.
std::optional<std::string> encodeCp932(std::string_view utf8);

}  // namespace tenmirel
