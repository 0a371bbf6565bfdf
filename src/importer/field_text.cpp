#include "importer/field_text.h"

#include <charconv>
#include <cmath>

namespace tenmirel::importer {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool isNumberChar(char c) { return isDigit(c) || c == '.' || c == '-' || c == '+'; }

}  // namespace

std::string_view columns(std::string_view line, std::size_t begin, std::size_t end) {
  if (begin >= line.size()) return {};
  return line.substr(begin, std::min(end, line.size()) - begin);
}

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::optional<double> plainDecimal(std::string_view text) {
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
  bool digits = false;
  bool point = false;
  for (std::size_t j = i; j < text.size(); ++j) {
    if (isDigit(text[j])) {
      digits = true;
    } else if (text[j] == '.' && !point) {
      point = true;
    } else {
      return std::nullopt;
    }
  }
  if (!digits) return std::nullopt;
  std::string_view body = text.substr(text.front() == '+' ? 1 : 0);
  // from_chars wants a digit before a lone trailing point's absence of fraction: "53820." reads as 53820.
  double value = 0;
  const auto [end, error] = std::from_chars(body.data(), body.data() + body.size(), value);
  if (error != std::errc() || !std::isfinite(value)) return std::nullopt;
  if (end != body.data() + body.size() && !(end + 1 == body.data() + body.size() && *end == '.')) {
    return std::nullopt;
  }
  return value;
}

FlaggedNumber flaggedNumber(std::string_view field) {
  FlaggedNumber result;
  std::size_t runs = 0;
  std::size_t i = 0;
  std::string digits;
  while (i < field.size()) {
    const char c = field[i];
    // A sign starts a number only when a digit or point follows.
    const bool signStart =
        (c == '-' || c == '+') && i + 1 < field.size() && (isDigit(field[i + 1]) || field[i + 1] == '.');
    if (isDigit(c) || (c == '.' && i + 1 < field.size() && isDigit(field[i + 1])) || signStart) {
      ++runs;
      std::size_t j = i;
      while (j < field.size() && isNumberChar(field[j]) && (j == i || (field[j] != '-' && field[j] != '+'))) ++j;
      digits.assign(field.substr(i, j - i));
      i = j;
      continue;
    }
    if (!isBlank(c)) result.flags += c;
    ++i;
  }
  if (runs == 1) {
    result.digits = digits;
    result.value = plainDecimal(digits);
    if (!result.value) {
      result.flags = std::string(trimmed(field));
      result.digits.clear();
    }
  } else if (runs > 1) {
    result.flags.clear();
    for (const char c : field) {
      if (!isBlank(c)) result.flags += c;
    }
  }
  return result;
}

MagnitudeWithBand magnitudeWithBand(std::string_view text) {
  text = trimmed(text);
  MagnitudeWithBand result;
  // The band is the last blank-separated word when the text holds two.
  const std::size_t blank = text.find_last_of(' ');
  std::string_view number = text;
  if (blank != std::string_view::npos) {
    result.band = std::string(trimmed(text.substr(blank + 1)));
    number = text.substr(0, blank);
  }
  result.magnitude = flaggedNumber(number);
  return result;
}

std::string collapsedName(std::string_view text) {
  text = trimmed(text);
  std::string name;
  name.reserve(text.size());
  bool blank = false;
  for (const char c : text) {
    if (isBlank(c)) {
      blank = true;
      continue;
    }
    if (blank && !name.empty()) name += ' ';
    blank = false;
    name += c;
  }
  return name;
}

bool hasControlBytes(std::string_view text) {
  // No early exit: the loop stays simple enough for the compiler to vectorise.
  unsigned found = 0;
  for (const char c : text) {
    const unsigned byte = static_cast<unsigned char>(c);
    found |= (static_cast<unsigned>(byte < 0x20) & static_cast<unsigned>(byte != '\t') &
              static_cast<unsigned>(byte != '\r')) |
             static_cast<unsigned>(byte == 0x7F);
  }
  return found != 0;
}

}  // namespace tenmirel::importer
