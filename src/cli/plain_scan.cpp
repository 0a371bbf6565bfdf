#include "cli/plain_scan.h"

namespace tenmirel::cli {
namespace {

constexpr std::string_view kBlanks = " \t\n\r\f\v";

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::size_t PlainScan::blanks() {
  const std::size_t start = position_;
  while (position_ < text_.size() && kBlanks.find(text_[position_]) != std::string_view::npos) ++position_;
  return position_ - start;
}

bool PlainScan::take(std::string_view oneOf) {
  if (position_ >= text_.size() || oneOf.find(text_[position_]) == std::string_view::npos) return false;
  ++position_;
  return true;
}

bool PlainScan::digits(std::size_t minDigits, std::size_t maxDigits, std::string_view& taken) {
  std::size_t end = position_;
  while (end < text_.size() && end - position_ < maxDigits && isDigit(text_[end])) ++end;
  // A longer run of digits than allowed is not a shorter number.
  if (end - position_ < minDigits || (end < text_.size() && isDigit(text_[end]))) return false;
  taken = text_.substr(position_, end - position_);
  position_ = end;
  return true;
}

bool PlainScan::decimal(std::size_t maxWholeDigits, std::string_view& taken) {
  const std::size_t start = position_;
  std::string_view whole;
  if (!digits(1, maxWholeDigits, whole)) return false;
  if (position_ < text_.size() && text_[position_] == '.') {
    std::size_t end = position_ + 1;
    while (end < text_.size() && isDigit(text_[end])) ++end;
    if (end == position_ + 1) {
      position_ = start;
      return false;
    }
    position_ = end;
  }
  taken = text_.substr(start, position_ - start);
  return true;
}

}  // namespace tenmirel::cli
