#include "catalogue/text_decoding.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>

namespace tenmirel {
namespace {

// glibc knows the Windows form of Shift_JIS as CP932 (also WINDOWS-31J); it maps
// the NEC and IBM extensions and "～" the way Windows writes them.
constexpr const char* kCp932Name = "CP932";
constexpr const char* kUtf8Name = "UTF-8";

const iconv_t kNoConversion = reinterpret_cast<iconv_t>(-1);

bool isAscii(std::string_view bytes) {
  return std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

TextDecoder::TextDecoder(TextEncoding encoding)
    : handle_(iconv_open(kUtf8Name, encoding == TextEncoding::cp932 ? kCp932Name : kUtf8Name)) {}

TextDecoder::~TextDecoder() {
  if (static_cast<iconv_t>(handle_) != kNoConversion) iconv_close(static_cast<iconv_t>(handle_));
}

std::size_t TextDecoder::decode(std::string_view bytes, std::string& out) {
  // Both encodings leave ASCII as it is, so most lines need no conversion.
  if (isAscii(bytes)) {
    out.append(bytes);
    return 0;
  }
  const auto cd = static_cast<iconv_t>(handle_);
  std::size_t replacements = 0;
  if (cd == kNoConversion) {
    // Without the converter only ASCII can be trusted.
    for (char c : bytes) {
      if (static_cast<unsigned char>(c) < 0x80) {
        out.push_back(c);
      } else {
        out.append(kReplacementCharacter);
        ++replacements;
      }
    }
    return replacements;
  }

  iconv(cd, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
  char* in = const_cast<char*>(bytes.data());     // iconv does not write through it
  std::size_t inLeft = bytes.size();
  char buffer[1024];
  while (inLeft > 0) {
    char* outPtr = buffer;
    std::size_t outLeft = sizeof buffer;
    const std::size_t result = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
    if (result != static_cast<std::size_t>(-1)) break;
    if (errno == E2BIG) continue;
    // EILSEQ: a sequence that does not decode; EINVAL: one cut off by the line end.
    // Either way one byte is replaced and the rest of the line still decodes.
    out.append(kReplacementCharacter);
    ++replacements;
    ++in;
    --inLeft;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  return replacements;
}

std::string decodeLine(std::string_view bytes, TextEncoding encoding) {
  std::string text;
  TextDecoder(encoding).decode(bytes, text);
  return text;
}

bool isValidUtf8(std::string_view bytes) {
  if (isAscii(bytes)) return true;
  std::string ignored;
  return TextDecoder(TextEncoding::utf8).decode(bytes, ignored) == 0;
}

TextEncoding detectEncoding(const std::vector<std::string>& lines, bool hadByteOrderMark) {
  if (hadByteOrderMark) return TextEncoding::utf8;
  TextDecoder utf8(TextEncoding::utf8);
  bool multibyte = false;
  std::string scratch;
  for (const std::string& line : lines) {
    if (isAscii(line)) continue;
    multibyte = true;
    scratch.clear();
    if (utf8.decode(line, scratch) != 0) return TextEncoding::cp932;
  }
  return multibyte ? TextEncoding::utf8 : TextEncoding::cp932;
}

}  // namespace tenmirel
