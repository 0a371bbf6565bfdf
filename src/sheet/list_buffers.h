#pragma once
// The rows the two lists collect before they hand them to the worksheet.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tenmirel {

// Rows 0..200 of the buffers the lists were made with.
inline constexpr int kListBufferRows = 201;
// Year, month, day, hour and minute texts of one row.
inline constexpr int kTimeParts = 5;
using TimeTexts = std::array<std::string, kTimeParts>;

// Today's list: state of the main window. The vectors start with 201 rows and
// grow when more stars qualify, so no qualifying star is ever cut off.
struct TodayBuffers {
  std::int16_t todayCount = 0;
  std::vector<std::string> todayName = std::vector<std::string>(kListBufferRows);
  std::vector<TimeTexts> todayTime = std::vector<TimeTexts>(kListBufferRows);
  std::vector<std::string> todayKoudo = std::vector<std::string>(kListBufferRows);

  // Makes row r addressable, keeping every earlier row.
  void ensureRow(std::size_t r);
};

// The fixed-count list: state of the list dialog. The cap of 100 keeps a run
// well inside the 201 rows.
struct FixedCountBuffers {
  double listCount = 0;
  std::vector<TimeTexts> listTime = std::vector<TimeTexts>(kListBufferRows);
  std::vector<std::string> listKoudo = std::vector<std::string>(kListBufferRows);
  std::vector<std::string> listKaiki = std::vector<std::string>(kListBufferRows);
  std::vector<double> listJul = std::vector<double>(kListBufferRows);
};

}  // namespace tenmirel
