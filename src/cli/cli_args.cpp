#include "cli/cli_args.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>

#include "cli/plain_scan.h"
#include "common/number_text.h"

namespace tenmirel::cli {
namespace {

constexpr int kLastHour = 23;
constexpr int kLastMinute = 59;
constexpr int kMonthsPerYear = 12;

// CLI11 names an option at the start of its mismatch messages ("--epoch: 1 required TEXT missing").
std::string optionNamed(const std::string& message) {
  const std::size_t colon = message.find(':');
  return colon == std::string::npos || message.rfind("--", 0) != 0 ? std::string() : message.substr(0, colon);
}

int wholeNumber(std::string_view digits) {
  int value = 0;
  std::from_chars(digits.data(), digits.data() + digits.size(), value);
  return value;
}

std::string formatHelp(TimePart time) { return time == TimePart::required ? "\"YYYY-MM-DD HH:MM\"" : "\"YYYY-MM-DD\""; }

// What is wrong with a date and time of the right form; empty when nothing.
std::string impossibleValue(int year, int month, int day, int hour, int minute) {
  using namespace std::chrono;
  if (month < 1 || month > kMonthsPerYear) return "月「" + std::to_string(month) + "」は 1〜12 ではありません";
  const year_month_day date{std::chrono::year{year}, std::chrono::month{static_cast<unsigned>(month)},
                            std::chrono::day{static_cast<unsigned>(day)}};
  if (day < 1 || !date.ok()) {
    return std::to_string(year) + "年" + std::to_string(month) + "月に" + std::to_string(day) + "日はありません";
  }
  if (hour > kLastHour) return "時「" + std::to_string(hour) + "」は 0〜23 ではありません";
  if (minute > kLastMinute) return "分「" + std::to_string(minute) + "」は 0〜59 ではありません";
  return {};
}

}  // namespace

std::string ParsedArgs::get(const std::string& name, const std::string& fallback) const {
  auto found = options.find(name);
  return found == options.end() ? fallback : found->second;
}

std::optional<ParsedArgs> parseArgs(const std::vector<std::string>& args, const std::set<std::string>& withValue,
                                    const std::set<std::string>& flags, std::string& error,
                                    const std::set<std::string>& paths) {
  CLI::App app;
  app.set_help_flag();  // the subcommands print their own Japanese help
  app.allow_extras();   // unknown options and extra arguments are described below, in Japanese
  std::map<std::string, std::string> values;
  std::map<std::string, bool> flagValues;
  for (const std::string& name : withValue) {
    app.add_option(name, values[name])->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  }
  for (const std::string& name : flags) app.add_flag(name, flagValues[name]);

  std::vector<std::string> reversed(args.rbegin(), args.rend());
  try {
    app.parse(reversed);
  } catch (const CLI::ArgumentMismatch& mismatch) {
    const std::string name = optionNamed(mismatch.what());
    error =
        name.empty() ? std::string("オプションの値の数が正しくありません") : "オプション " + name + " に値がありません";
    return std::nullopt;
  } catch (const CLI::ParseError& failure) {
    error = std::string("オプションを読み取れません（") + failure.what() + "）";
    return std::nullopt;
  }

  ParsedArgs parsed;
  for (const std::string& name : withValue) {
    if (app.count(name) == 0) continue;
    const std::size_t limit = paths.count(name) != 0 ? kMaxPathBytes : kMaxOptionValueBytes;
    if (values[name].size() > limit) {
      error = "オプション " + name + " の値が長すぎます（" + std::to_string(limit) + " バイトまで）";
      return std::nullopt;
    }
    parsed.options[name] = values[name];
  }
  for (const std::string& name : flags) {
    if (app.count(name) != 0) parsed.flags.insert(name);
  }
  for (const std::string& extra : app.remaining()) {
    if (extra.rfind("--", 0) == 0 && extra != "--") {
      error = "知らないオプション " + extra.substr(0, std::min(extra.find('='), kMaxOptionValueBytes));
      return std::nullopt;
    }
    if (extra.size() > kMaxPathBytes) {
      error = "引数が長すぎます（" + std::to_string(kMaxPathBytes) + " バイトまで）";
      return std::nullopt;
    }
    parsed.positional.push_back(extra);
  }
  return parsed;
}

std::optional<DateTimeTexts> parseDateTime(std::string_view text, TimePart time, std::string& error) {
  PlainScan scan(text);
  std::string_view year, month, day, hour, minute;
  scan.blanks();
  bool wellFormed =
      scan.digits(1, 4, year) && scan.take("-") && scan.digits(1, 2, month) && scan.take("-") && scan.digits(1, 2, day);
  bool withTime = false;
  if (wellFormed && scan.take(" T")) {
    withTime = true;
    wellFormed = scan.digits(1, 2, hour) && scan.take(":") && scan.digits(1, 2, minute);
  }
  scan.blanks();
  wellFormed = wellFormed && scan.atEnd();
  if (!wellFormed || (time == TimePart::required && !withTime) || (time == TimePart::forbidden && withTime)) {
    error = "日時「" + std::string(text) + "」は " + formatHelp(time) + " の形で指定してください";
    return std::nullopt;
  }
  // The texts are typed into the fields as a user would, without leading zeros.
  DateTimeTexts texts{std::to_string(wholeNumber(year)), std::to_string(wholeNumber(month)),
                      std::to_string(wholeNumber(day)), "0", "0"};
  if (withTime) {
    texts.hour = std::to_string(wholeNumber(hour));
    texts.minute = std::to_string(wholeNumber(minute));
  }
  const std::string wrong = impossibleValue(wholeNumber(year), wholeNumber(month), wholeNumber(day),
                                            wholeNumber(texts.hour), wholeNumber(texts.minute));
  if (!wrong.empty()) {
    error = "日時「" + std::string(text) + "」は正しい日付・時刻ではありません（" + wrong + "）";
    return std::nullopt;
  }
  return texts;
}

std::optional<int> parseCount(std::string_view text, int minimum, int maximum) {
  int value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || value < minimum || value > maximum) {
    return std::nullopt;
  }
  return value;
}

int usageError(std::ostream& err, const std::string& command, const std::string& text) {
  constexpr int kExitUsage = 2;
  err << "tenmirel-cli " << command << ": " << text << "\n（tenmirel-cli " << command
      << " --help で使い方を表示します）\n";
  return kExitUsage;
}

std::optional<double> numberOption(const ParsedArgs& parsed, const std::string& name, double lowest, double highest,
                                   std::string& error) {
  const std::optional<double> value = parseStrict(parsed.get(name));
  if (!value || !std::isfinite(*value) || *value < lowest || *value > highest) {
    error = name + " の値「" + parsed.get(name) + "」は " + numberToText(lowest) + " から " + numberToText(highest) +
            " までの数で指定してください";
    return std::nullopt;
  }
  return value;
}

}  // namespace tenmirel::cli
