#include "catalogue/text_encoding.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>

namespace tenmirel {
namespace {

const iconv_t kNoConversion = reinterpret_cast<iconv_t>(-1);
constexpr std::size_t kMaxRemembered = 4096;

}  // namespace

Cp932Encoder::Cp932Encoder() : handle_(iconv_open("CP932", "UTF-8")) {}

Cp932Encoder::~Cp932Encoder() {
  if (static_cast<iconv_t>(handle_) != kNoConversion) iconv_close(static_cast<iconv_t>(handle_));
}

std::optional<std::string> Cp932Encoder::encode(std::string_view utf8) {
  // CP932 has no shift state, so ASCII runs are copied and each non-ASCII run
  // is converted on its own.
  std::string out;
  out.reserve(utf8.size());
  std::size_t i = 0;
  while (i < utf8.size()) {
    const std::size_t start = i;
    while (i < utf8.size() && static_cast<unsigned char>(utf8[i]) < 0x80) ++i;
    out.append(utf8.substr(start, i - start));
    if (i == utf8.size()) break;
    const std::size_t runStart = i;
    while (i < utf8.size() && static_cast<unsigned char>(utf8[i]) >= 0x80) ++i;
    const std::string run(utf8.substr(runStart, i - runStart));
    auto found = runs_.find(run);
    if (found == runs_.end()) {
      if (runs_.size() >= kMaxRemembered) runs_.clear();
      found = runs_.emplace(run, convert(run)).first;
    }
    if (!found->second) return std::nullopt;
    out += *found->second;
  }
  return out;
}

std::optional<std::string> Cp932Encoder::convert(std::string_view utf8) {
  const auto cd = static_cast<iconv_t>(handle_);
  if (cd == kNoConversion) return std::nullopt;
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  std::string out;
  char* in = const_cast<char*>(utf8.data());  // iconv does not write through it
  std::size_t inLeft = utf8.size();
  char buffer[512];
  while (inLeft > 0) {
    char* outPtr = buffer;
    std::size_t outLeft = sizeof buffer;
    const std::size_t result = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
    if (result != static_cast<std::size_t>(-1)) break;
    if (errno != E2BIG) return std::nullopt;
  }
  char* outPtr = buffer;
  std::size_t outLeft = sizeof buffer;
  iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
  out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
  return out;
}

std::optional<std::string> encodeCp932(std::string_view utf8) { return Cp932Encoder().encode(utf8); }

}  // namespace tenmirel
