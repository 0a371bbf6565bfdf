#include "catalogue/memo_tokens.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace tenmirel {

namespace {

constexpr std::string_view kFullWidthSpace = "\u3000";
constexpr std::string_view kSigmaEpochKey = "σE0=";
constexpr std::string_view kSigmaPeriodKey = "σP=";
constexpr std::string_view kCovarianceKey = "cov=";

bool isAsciiBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The memo's blank-separated tokens, in order.
std::vector<std::string_view> tokensOf(std::string_view memo) {
  std::vector<std::string_view> tokens;
  std::size_t start = 0;
  std::size_t i = 0;
  const auto flush = [&](std::size_t end) {
    if (end > start) tokens.push_back(memo.substr(start, end - start));
  };
  while (i < memo.size()) {
    if (isAsciiBlank(memo[i])) {
      flush(i);
      start = ++i;
    } else if (memo.substr(i, kFullWidthSpace.size()) == kFullWidthSpace) {
      flush(i);
      i += kFullWidthSpace.size();
      start = i;
    } else {
      ++i;
    }
  }
  flush(memo.size());
  return tokens;
}

std::optional<double> strictNumber(std::string_view text) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

// The first parenthesised text that is a known type, nested parentheses kept
// ("(SXPHE(B))" gives "SXPHE(B)").
std::string_view firstParenthesisedType(std::string_view memo) {
  for (std::size_t open = memo.find('('); open != std::string_view::npos; open = memo.find('(', open + 1)) {
    int depth = 0;
    for (std::size_t i = open; i < memo.size(); ++i) {
      if (memo[i] == '(') ++depth;
      if (memo[i] == ')' && --depth == 0) {
        const std::string_view inside = memo.substr(open + 1, i - open - 1);
        if (isKnownVariableType(inside)) return inside;
        break;
      }
    }
  }
  return {};
}

bool startsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

bool isFitErrorToken(std::string_view token) {
  return startsWith(token, kSigmaEpochKey) || startsWith(token, kSigmaPeriodKey) || startsWith(token, kCovarianceKey);
}

}  // namespace

std::string shortestNumberText(double value) {
  char buffer[64];
  const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
  if (error != std::errc()) return {};
  return std::string(buffer, end);
}

MemoTokens readMemoTokens(std::string_view memo) {
  MemoTokens tokens;
  const std::vector<std::string_view> parts = tokensOf(memo);
  if (!parts.empty() && isKnownVariableType(parts.front())) {
    tokens.type = classifyVariableType(parts.front());
  } else if (const std::string_view inside = firstParenthesisedType(memo); !inside.empty()) {
    tokens.type = classifyVariableType(inside);
  }

  std::optional<double> sigmaEpoch;
  std::optional<double> sigmaPeriod;
  std::optional<double> covariance;
  int durations = 0;
  int phases = 0;
  for (const std::string_view token : parts) {
    const std::string tokenText(token);
    if (token == "P:") {
      tokens.periodUncertain = true;
    } else if (token == "E0:") {
      tokens.epochUncertain = true;
    } else if (startsWith(token, "D=")) {
      ++durations;
      const std::optional<double> value = strictNumber(token.substr(2));
      if (durations > 1) {
        tokens.problems.push_back("メモに食の継続時間 D= が二つあります。");
      } else if (!value || *value <= 0 || *value > 100) {
        tokens.problems.push_back("メモの食の継続時間「" + tokenText +
                                  "」は 0 より大きく 100 以下の百分率で書いてください。");
      } else {
        tokens.durationPercent = value;
      }
    } else if (startsWith(token, "II=")) {
      ++phases;
      const std::optional<double> value = strictNumber(token.substr(3));
      if (phases > 1) {
        tokens.problems.push_back("メモに副極小の位相 II= が二つあります。");
      } else if (!value || *value <= 0 || *value >= 1) {
        tokens.problems.push_back("メモの副極小の位相「" + tokenText + "」は 0 と 1 の間の値で書いてください。");
      } else {
        tokens.secondaryPhase = value;
      }
    } else if (isFitErrorToken(token)) {
      const bool epochKey = startsWith(token, kSigmaEpochKey);
      const bool periodKey = startsWith(token, kSigmaPeriodKey);
      const std::size_t keySize =
          epochKey ? kSigmaEpochKey.size() : (periodKey ? kSigmaPeriodKey.size() : kCovarianceKey.size());
      const std::optional<double> value = strictNumber(token.substr(keySize));
      if (!value || ((epochKey || periodKey) && *value <= 0)) {
        tokens.problems.push_back("メモの要素の誤差「" + tokenText + "」が読めません。");
        continue;
      }
      (epochKey ? sigmaEpoch : (periodKey ? sigmaPeriod : covariance)) = value;
    }
  }
  if (sigmaEpoch && sigmaPeriod) {
    tokens.fitErrors = FittedElementErrors{*sigmaEpoch, *sigmaPeriod, covariance.value_or(0.0)};
  }
  return tokens;
}

std::string withFitErrorTokens(std::string_view memo, const FittedElementErrors& errors) {
  std::string kept;
  for (const std::string_view token : tokensOf(memo)) {
    if (isFitErrorToken(token)) continue;
    if (!kept.empty()) kept += ' ';
    kept += token;
  }
  if (!kept.empty()) kept += ' ';
  kept += std::string(kSigmaEpochKey) + shortestNumberText(errors.sigmaEpochDays) + ' ' + std::string(kSigmaPeriodKey) +
          shortestNumberText(errors.sigmaPeriodDays) + ' ' + std::string(kCovarianceKey) +
          shortestNumberText(errors.covarianceEpochPeriod);
  return kept;
}

}  // namespace tenmirel
