#pragma once
// Turning the bytes of a catalogue line into UTF-8 text. Catalogue files come
// from Japanese Windows (CP932); newer ones may be written in UTF-8.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tenmirel {

enum class TextEncoding { cp932, utf8 };

// The UTF-8 byte-order mark, skipped at the start of a file.
inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// The replacement character U+FFFD, in UTF-8, for bytes that do not decode.
inline constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";

// One iconv conversion to UTF-8, opened once and used for many lines.
class TextDecoder {
 public:
  explicit TextDecoder(TextEncoding encoding);
  ~TextDecoder();
  TextDecoder(const TextDecoder&) = delete;
  TextDecoder& operator=(const TextDecoder&) = delete;

  // Appends the UTF-8 text of the bytes to out. A byte sequence that does not
  // decode becomes U+FFFD and decoding goes on after its first byte, so a line
  // is never cut short. ASCII bytes come out unchanged. Returns how many
  // replacements were made.
  std::size_t decode(std::string_view bytes, std::string& out);

 private:
  void* handle_;  // iconv_t, kept out of the header
};

// Decodes one line to UTF-8 (see TextDecoder::decode).
std::string decodeLine(std::string_view bytes, TextEncoding encoding);

// Whether the bytes are well-formed UTF-8 (no overlong forms, no surrogates).
bool isValidUtf8(std::string_view bytes);

// The encoding of a file's lines: UTF-8 when the file began with a byte-order
// mark, or when every line is well-formed UTF-8 and at least one carries a
// multibyte character; CP932 otherwise.
TextEncoding detectEncoding(const std::vector<std::string>& lines, bool hadByteOrderMark);

}  // namespace tenmirel
