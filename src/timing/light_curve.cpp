#include "timing/light_curve.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <system_error>

#include "common/number_text.h"

namespace tenmirel::timing {
namespace {

constexpr double kFullJulianDayFrom = 2'000'000;
constexpr double kFullJulianDayTo = 3'000'000;    // about AD 3500
constexpr double kReducedJulianDayFrom = 30'000;  // JD - 2,400,000 after about 1941
constexpr double kReducedJulianDayTo = 100'000;
constexpr double kOffset2400000 = 2'400'000;
constexpr double kOffset2450000 = 2'450'000;
constexpr double kModifiedJulianDayOffset = 2'400'000.5;
// m = -2.5 log10(f); dm = 2.5 / ln 10 × df / f.
constexpr double kPogsonFactor = 2.5;
constexpr double kMagnitudePerRelativeFlux = 2.5 / 2.302585092994046;

std::string lowered(std::string_view text) {
  std::string out;
  for (char c : text) out += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  return out;
}

std::string_view trimmed(std::string_view text) {
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

struct Line {
  int number = 0;
  std::string_view text;
};

std::vector<Line> contentLines(std::string_view text) {
  std::vector<Line> lines;
  int number = 0;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    ++number;
    const std::string_view line = trimmed(text.substr(start, end - start));
    if (!line.empty() && line.front() != '#') lines.push_back({number, line});
    if (end == text.size()) break;
    start = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
  }
  return lines;
}

enum class Separator { tab, comma, semicolon, blanks };

Separator separatorOf(std::string_view header) {
  if (header.find('\t') != std::string_view::npos) return Separator::tab;
  if (header.find(',') != std::string_view::npos) return Separator::comma;
  if (header.find(';') != std::string_view::npos) return Separator::semicolon;
  return Separator::blanks;
}

std::vector<std::string> splitFields(std::string_view line, Separator separator) {
  std::vector<std::string> fields;
  if (separator == Separator::blanks) {
    std::size_t i = 0;
    while (i < line.size()) {
      while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
      if (i == line.size()) break;
      std::string field;
      if (line[i] == '"') {
        ++i;
        while (i < line.size() && line[i] != '"') field += line[i++];
        if (i < line.size()) ++i;
      }
      while (i < line.size() && line[i] != ' ' && line[i] != '\t') field += line[i++];
      fields.push_back(field);
    }
    return fields;
  }
  const char sep = separator == Separator::tab ? '\t' : separator == Separator::comma ? ',' : ';';
  std::string field;
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted) {
      if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
        field += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        field += c;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == sep) {
      fields.emplace_back(trimmed(field));
      field.clear();
    } else {
      field += c;
    }
  }
  fields.emplace_back(trimmed(field));
  return fields;
}

// What a time header says: its rank among the time names (lower is preferred) and
// the offset it names, if any.
struct TimeHeader {
  int rank = 0;
  std::optional<double> offset;
};

std::optional<TimeHeader> timeHeaderOf(std::string_view name) {
  std::string key;
  for (char c : lowered(name)) {
    if (c != ' ' && c != '.' && c != '(' && c != ')') key += c;
  }
  if (key == "time") return TimeHeader{6, std::nullopt};
  if (key == "mjd") return TimeHeader{5, kModifiedJulianDayOffset};
  std::size_t i = 0;
  int rank = 3;
  if (!key.empty() && key[0] == 'b')
    rank = 1, i = 1;
  else if (!key.empty() && key[0] == 'h')
    rank = 2, i = 1;
  if (key.compare(i, 2, "jd") != 0) return std::nullopt;
  i += 2;
  if (key.compare(i, 4, "_tdb") == 0) {
    if (rank != 1) return std::nullopt;
    rank = 0;
    i += 4;
  }
  if (i == key.size()) return TimeHeader{rank, std::nullopt};
  if (key[i] != '-' || i + 1 == key.size()) return std::nullopt;
  const std::optional<double> offset = parseStrict(key.substr(i + 1));
  if (!offset || key.find_first_not_of("0123456789", i + 1) != std::string::npos) return std::nullopt;
  return TimeHeader{rank, offset};
}

bool isErrorName(const std::string& key) { return key.find("err") != std::string::npos; }

std::string headerList(const std::vector<std::string>& header) {
  std::string out;
  for (const std::string& name : header) out += (out.empty() ? "" : ", ") + name;
  return out;
}

std::optional<std::size_t> namedColumn(const std::vector<std::string>& header, const std::string& name) {
  const std::string wanted = lowered(trimmed(name));
  for (std::size_t i = 0; i < header.size(); ++i) {
    if (lowered(header[i]) == wanted) return i;
  }
  return std::nullopt;
}

std::string missingColumn(const std::string& what, const std::string& name, const std::vector<std::string>& header) {
  return what + "の列「" + name + "」が見出しにありません（見出し: " + headerList(header) + "）";
}

}  // namespace

Checked<LightCurve> readLightCurve(std::string_view text, const ColumnChoice& columns) {
  using Result = Checked<LightCurve>;
  if (text.find_first_not_of(" \t\r\n\f") == std::string_view::npos)
    return Result::failure("光度曲線のファイルが空です");
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte == 0 || (byte < 0x20 && c != '\t' && c != '\r' && c != '\n' && c != '\f')) {
      return Result::failure("光度曲線のファイルが文字の表ではありません（バイナリのファイルです）");
    }
  }
  const std::vector<Line> lines = contentLines(text);
  if (lines.empty()) return Result::failure("光度曲線のファイルに見出しと数値の行がありません");
  const Separator separator = separatorOf(lines.front().text);
  const std::vector<std::string> header = splitFields(lines.front().text, separator);

  LightCurve curve;
  // The time column.
  std::size_t timeIndex = 0;
  std::optional<TimeHeader> timeHeader;
  if (!columns.time.empty()) {
    const auto found = namedColumn(header, columns.time);
    if (!found) return Result::failure(missingColumn("時刻", columns.time, header));
    timeIndex = *found;
    timeHeader = timeHeaderOf(header[timeIndex]);
  } else {
    for (std::size_t i = 0; i < header.size(); ++i) {
      const auto candidate = timeHeaderOf(header[i]);
      if (candidate && (!timeHeader || candidate->rank < timeHeader->rank)) timeHeader = candidate, timeIndex = i;
    }
    if (!timeHeader) {
      return Result::failure("時刻の列（JD、HJD、BJD、Time など）が見出しにありません（見出し: " + headerList(header) +
                             "）。--time-column で列名を指定してください");
    }
  }
  curve.timeColumn = header[timeIndex];

  // The brightness column.
  std::optional<std::size_t> brightnessIndex;
  if (!columns.magnitude.empty() && !columns.flux.empty()) {
    return Result::failure("等級の列と流量の列は同時に指定できません");
  }
  if (!columns.magnitude.empty() || !columns.flux.empty()) {
    const std::string& name = columns.magnitude.empty() ? columns.flux : columns.magnitude;
    brightnessIndex = namedColumn(header, name);
    if (!brightnessIndex) return Result::failure(missingColumn(columns.flux.empty() ? "等級" : "流量", name, header));
    curve.fromFlux = !columns.flux.empty();
  } else {
    for (const char* name : {"mag", "magnitude", "v"}) {
      if ((brightnessIndex = namedColumn(header, name))) break;
    }
    if (!brightnessIndex) {
      for (std::size_t i = 0; i < header.size(); ++i) {
        const std::string key = lowered(header[i]);
        if (key.rfind("rel_flux", 0) == 0 && !isErrorName(key)) {
          brightnessIndex = i;
          curve.fromFlux = true;
          break;
        }
      }
    }
    if (!brightnessIndex) {
      return Result::failure("等級の列（mag、Magnitude、V、rel_flux…）が見出しにありません（見出し: " +
                             headerList(header) + "）。--mag-column か --flux-column で列名を指定してください");
    }
  }
  curve.brightnessColumn = header[*brightnessIndex];

  // The error column, if any.
  std::optional<std::size_t> errorIndex;
  if (!columns.error.empty()) {
    errorIndex = namedColumn(header, columns.error);
    if (!errorIndex) return Result::failure(missingColumn("誤差", columns.error, header));
  } else {
    const std::string brightness = lowered(curve.brightnessColumn);
    for (std::size_t i = 0; i < header.size() && !errorIndex; ++i) {
      const std::string key = lowered(header[i]);
      if (i == *brightnessIndex || i == timeIndex) continue;
      const bool plain = key == "err" || key == "error" || key == "mag_err" || key == "magerr" || key == "e_mag" ||
                         key == "sigma" || key == "merr";
      // AstroImageJ writes rel_flux_T1 beside rel_flux_err_T1.
      const bool fluxError =
          curve.fromFlux && (key == brightness + "_err" ||
                             (brightness.rfind("rel_flux", 0) == 0 && key == "rel_flux_err" + brightness.substr(8)));
      if ((!curve.fromFlux && plain) || fluxError) errorIndex = i;
    }
  }
  if (errorIndex) curve.errorColumn = header[*errorIndex];

  const std::size_t needed = std::max({timeIndex, *brightnessIndex, errorIndex.value_or(0)}) + 1;
  auto number = [&](const Line& line, const std::vector<std::string>& fields, std::size_t index,
                    double& value) -> std::optional<std::string> {
    const std::optional<double> parsed = parseStrict(fields[index]);
    if (!parsed) {
      return std::to_string(line.number) + "行目の「" + header[index] + "」の値「" + fields[index].substr(0, 40) +
             "」は数ではありません";
    }
    value = *parsed;
    return std::nullopt;
  };
  for (std::size_t k = 1; k < lines.size(); ++k) {
    const Line& line = lines[k];
    const std::vector<std::string> fields = splitFields(line.text, separator);
    if (fields.size() < needed) {
      return Result::failure(std::to_string(line.number) + "行目の列が足りません（" + std::to_string(needed) +
                             "列必要なところ " + std::to_string(fields.size()) + "列）");
    }
    LightPoint point;
    double brightness = 0;
    if (auto problem = number(line, fields, timeIndex, point.julianDay)) return Result::failure(*problem);
    if (auto problem = number(line, fields, *brightnessIndex, brightness)) return Result::failure(*problem);
    if (errorIndex) {
      if (auto problem = number(line, fields, *errorIndex, point.sigma)) return Result::failure(*problem);
      if (point.sigma < 0) {
        return Result::failure(std::to_string(line.number) + "行目の誤差「" + fields[*errorIndex] + "」が負の数です");
      }
    }
    if (curve.fromFlux) {
      if (!(brightness > 0)) {
        return Result::failure(std::to_string(line.number) + "行目の流量「" + fields[*brightnessIndex] +
                               "」が正の数でないため等級にできません");
      }
      point.sigma = kMagnitudePerRelativeFlux * point.sigma / brightness;
      brightness = -kPogsonFactor * std::log10(brightness);
    }
    point.magnitude = brightness;
    curve.points.push_back(point);
  }
  if (curve.points.empty()) return Result::failure("光度曲線のファイルに数値の行がありません");

  // Reduced Julian days.
  const double first = curve.points.front().julianDay;
  if (timeHeader && timeHeader->offset) {
    curve.offsetAdded = *timeHeader->offset;
    curve.notes.push_back("時刻に " + numberToText(curve.offsetAdded) + " を足しました（列名「" + curve.timeColumn +
                          "」のとおり）");
  } else if (first < kFullJulianDayFrom) {
    curve.offsetAdded = first >= kReducedJulianDayFrom && first < kReducedJulianDayTo ? kOffset2400000 : kOffset2450000;
    curve.notes.push_back("時刻を JD − " + numberToText(curve.offsetAdded) + " と見なし、" +
                          numberToText(curve.offsetAdded) + " を足しました");
  }
  for (LightPoint& point : curve.points) {
    point.julianDay += curve.offsetAdded;
    if (point.julianDay < kFullJulianDayFrom || point.julianDay >= kFullJulianDayTo) {
      return Result::failure("時刻「" + numberToText(point.julianDay - curve.offsetAdded) +
                             "」は他の行と桁がそろわないため、ユリウス日として読めません");
    }
  }
  if (!std::is_sorted(curve.points.begin(), curve.points.end(),
                      [](const LightPoint& a, const LightPoint& b) { return a.julianDay < b.julianDay; })) {
    std::stable_sort(curve.points.begin(), curve.points.end(),
                     [](const LightPoint& a, const LightPoint& b) { return a.julianDay < b.julianDay; });
    curve.notes.push_back("時刻の順でない行があったため、時刻の順に並べ替えました");
  }
  return Result::success(std::move(curve));
}

Checked<LightCurve> readLightCurveFile(const std::string& path, const ColumnChoice& columns) {
  std::error_code code;
  const auto status = std::filesystem::status(path, code);
  if (code || !std::filesystem::exists(status)) {
    return Checked<LightCurve>::failure("光度曲線のファイル「" + path + "」が見つかりません");
  }
  if (!std::filesystem::is_regular_file(status)) {
    return Checked<LightCurve>::failure("「" + path + "」は光度曲線のファイルではありません");
  }
  const auto size = std::filesystem::file_size(path, code);
  if (!code && size > kMaxLightCurveBytes) {
    return Checked<LightCurve>::failure("光度曲線のファイル「" + path + "」が大きすぎます（256 MB まで）");
  }
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  if (!in || !(text << in.rdbuf())) {
    if (in && size == 0) return readLightCurve("", columns);
    return Checked<LightCurve>::failure("光度曲線のファイル「" + path + "」を読めません");
  }
  return readLightCurve(text.str(), columns);
}

}  // namespace tenmirel::timing
