#pragma once
// Reads short option texts character by character (no recursive pattern
// matcher, so the length of a text never costs stack).
#include <string_view>

namespace tenmirel::cli {

class PlainScan {
 public:
  explicit PlainScan(std::string_view text) : text_(text) {}

  // Skips blanks (spaces, tabs, line ends); returns how many there were.
  std::size_t blanks();
  // Takes one of the characters; false (and nothing taken) otherwise.
  bool take(std::string_view oneOf);
  // Takes minDigits to maxDigits decimal digits.
  bool digits(std::size_t minDigits, std::size_t maxDigits, std::string_view& taken);
  // Digits with an optional "." and at least one digit after it ("12", "30.5").
  bool decimal(std::size_t maxWholeDigits, std::string_view& taken);
  bool atEnd() const { return position_ == text_.size(); }

 private:
  std::string_view text_;
  std::size_t position_ = 0;
};

}  // namespace tenmirel::cli
