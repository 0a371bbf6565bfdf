#include "cli/cli_args.h"

#include <charconv>
#include <regex>

namespace tenmirel::cli {

std::string ParsedArgs::get(const std::string& name, const std::string& fallback) const {
  auto found = options.find(name);
  return found == options.end() ? fallback : found->second;
}

std::optional<ParsedArgs> parseArgs(const std::vector<std::string>& args,
                                    const std::set<std::string>& withValue,
                                    const std::set<std::string>& flags, std::string& error) {
  ParsedArgs parsed;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg.rfind("--", 0) != 0 || arg == "--") {
      parsed.positional.push_back(arg);
      continue;
    }
    std::string name = arg;
    std::optional<std::string> inlineValue;
    if (auto eq = arg.find('='); eq != std::string::npos) {
      name = arg.substr(0, eq);
      inlineValue = arg.substr(eq + 1);
    }
    if (flags.count(name) != 0 && !inlineValue) {
      parsed.flags.insert(name);
    } else if (withValue.count(name) != 0) {
      if (inlineValue) {
        parsed.options[name] = *inlineValue;
      } else if (i + 1 < args.size()) {
        parsed.options[name] = args[++i];
      } else {
        error = "オプション " + name + " に値がありません";
        return std::nullopt;
      }
    } else {
      error = "知らないオプション " + name;
      return std::nullopt;
    }
  }
  return parsed;
}

std::optional<DateTimeTexts> parseDateTime(std::string_view text, bool timeRequired, std::string& error) {
  static const std::regex pattern(R"(\s*(\d{1,4})-(\d{1,2})-(\d{1,2})(?:[ T](\d{1,2}):(\d{1,2}))?\s*)");
  std::match_results<std::string_view::const_iterator> match;
  if (!std::regex_match(text.begin(), text.end(), match, pattern) || (timeRequired && !match[4].matched)) {
    error = "日時「" + std::string(text) + "」は " + (timeRequired ? "\"YYYY-MM-DD HH:MM\"" : "\"YYYY-MM-DD\"") +
            " の形で指定してください";
    return std::nullopt;
  }
  // The texts are typed into the fields as a user would, without leading zeros.
  auto plain = [](const std::string& digits) {
    int value = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), value);
    return std::to_string(value);
  };
  DateTimeTexts texts{plain(match[1].str()), plain(match[2].str()), plain(match[3].str()), "0", "0"};
  if (match[4].matched) {
    texts.hour = plain(match[4].str());
    texts.minute = plain(match[5].str());
  }
  int month = std::stoi(texts.month), day = std::stoi(texts.day);
  int hour = std::stoi(texts.hour), minute = std::stoi(texts.minute);
  if (month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59) {
    error = "日時「" + std::string(text) + "」は正しい日付・時刻ではありません";
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

}  // namespace tenmirel::cli
