#include "observations/log_csv.h"

#include <charconv>
#include <cmath>

#include "catalogue/memo_tokens.h"

namespace tenmirel::observations {
namespace {

constexpr std::size_t kColumnCount = 13;
constexpr std::size_t kMaxFieldBytes = 64 * 1024;

std::optional<double> exactNumber(std::string_view text) {
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

struct Record {
  int line = 0;  // where the record starts
  std::vector<std::string> fields;
};

// Splits RFC 4180 records; a quoted field may hold separators and line ends.
Checked<std::vector<Record>> records(std::string_view text) {
  std::vector<Record> out;
  Record current;
  std::string field;
  bool quoted = false;
  bool wasQuoted = false;
  int line = 1;
  current.line = 1;
  auto endField = [&] {
    current.fields.push_back(std::move(field));
    field.clear();
    wasQuoted = false;
  };
  auto endRecord = [&] {
    endField();
    if (!(current.fields.size() == 1 && current.fields[0].empty())) out.push_back(std::move(current));
    current = Record{};
    current.line = line;
  };
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (field.size() > kMaxFieldBytes) {
      return Checked<std::vector<Record>>::failure(std::to_string(current.line) + "行目の欄が長すぎます");
    }
    if (quoted) {
      if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
        field += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        if (c == '\n') ++line;
        field += c;
      }
      continue;
    }
    if (c == '"' && field.empty() && !wasQuoted) {
      quoted = wasQuoted = true;
    } else if (c == ',') {
      endField();
    } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      continue;
    } else if (c == '\n') {
      ++line;
      endRecord();
    } else {
      field += c;
    }
  }
  if (quoted) {
    return Checked<std::vector<Record>>::failure(std::to_string(current.line) + "行目の引用符（\"）が閉じていません");
  }
  if (!field.empty() || !current.fields.empty()) endRecord();
  return Checked<std::vector<Record>>::success(std::move(out));
}

}  // namespace

std::string csvField(std::string_view text) {
  const bool quote = text.find_first_of(",\"\r\n") != std::string_view::npos ||
                     (!text.empty() && (text.front() == ' ' || text.back() == ' '));
  if (!quote) return std::string(text);
  std::string out = "\"";
  for (char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

std::string logCsvText(const std::vector<LogEntry>& entries) {
  std::string text = std::string(kLogCsvHeader) + "\n";
  for (const LogEntry& e : entries) {
    text += std::to_string(e.id) + ',' + csvField(e.star) + ',' + shortestNumberText(e.time) + ',' +
            (e.sigmaDays ? shortestNumberText(*e.sigmaDays) : std::string()) + ',' + sky::elementsTimeName(e.system) +
            ',' + timing::extremumKindName(e.kind) + ',' + csvField(e.method) + ',' + csvField(e.observer) + ',' +
            csvField(e.band) + ',' + csvField(e.source) + ',' + csvField(e.note) + ',' + csvField(e.recorded) + ',' +
            (e.excluded ? "1" : "0") + "\n";
  }
  return text;
}

Checked<std::vector<LogEntry>> readLogCsv(std::string_view text) {
  using Result = Checked<std::vector<LogEntry>>;
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  if (text.find('\0') != std::string_view::npos)
    return Result::failure("観測記録の CSV ではありません（バイナリのファイルです）");
  const auto parsed = records(text);
  if (!parsed) return Result::failure(parsed.message());
  if (parsed->empty()) return Result::failure("CSV が空です");
  std::string header;
  for (const std::string& name : parsed->front().fields) header += (header.empty() ? "" : ",") + name;
  if (header != kLogCsvHeader) {
    return Result::failure("1行目が観測記録の CSV の見出し（" + std::string(kLogCsvHeader) + "）ではありません");
  }
  std::vector<LogEntry> entries;
  for (std::size_t k = 1; k < parsed->size(); ++k) {
    const Record& record = (*parsed)[k];
    const std::string where = std::to_string(record.line) + "行目: ";
    const auto& f = record.fields;
    if (f.size() != kColumnCount) {
      return Result::failure(where + "欄の数が " + std::to_string(f.size()) + " です（" + std::to_string(kColumnCount) +
                             " 欄必要です）");
    }
    LogEntry entry;
    entry.star = f[1];
    if (entry.star.empty()) return Result::failure(where + "星名が空です");
    const auto time = exactNumber(f[2]);
    if (!time) return Result::failure(where + "時刻「" + f[2].substr(0, 40) + "」が数ではありません");
    entry.time = *time;
    if (!f[3].empty()) {
      const auto sigma = exactNumber(f[3]);
      if (!sigma || *sigma < 0)
        return Result::failure(where + "誤差「" + f[3].substr(0, 40) + "」が 0 以上の数ではありません");
      entry.sigmaDays = sigma;
    }
    const auto system = sky::parseElementsTime(f[4]);
    if (!system)
      return Result::failure(where + "時刻系「" + f[4].substr(0, 40) + "」は JD、HJD、BJD_TDB のどれでもありません");
    entry.system = *system;
    const auto kind = timing::parseExtremumKind(f[5]);
    if (!kind)
      return Result::failure(where + "種類「" + f[5].substr(0, 40) +
                             "」は primary、secondary、maximum のどれでもありません");
    entry.kind = *kind;
    entry.method = f[6];
    entry.observer = f[7];
    entry.band = f[8];
    entry.source = f[9];
    entry.note = f[10];
    entry.recorded = f[11];
    if (f[12] != "0" && f[12] != "1")
      return Result::failure(where + "除外の欄「" + f[12].substr(0, 40) + "」は 0 か 1 です");
    entry.excluded = f[12] == "1";
    entries.push_back(std::move(entry));
  }
  return Result::success(std::move(entries));
}

}  // namespace tenmirel::observations
