#pragma once
// The plan written out: CSV and iCalendar texts of the events and the picture as
// PNG or SVG (the .xlsx comes from the night's one workbook writer, lists/).
#include <QSettings>
#include <QSize>
#include <QString>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "sheet/file_delivery.h"
#include "sheet/xlsx_component.h"
#include "sky/night_plan.h"
#include "ui/plan/night_picture_data.h"

namespace tenmirel::ui {

using PlanRows = std::vector<const sky::NightEvent*>;

inline constexpr const char* kPlanListName = "今夜の観測計画";

// One header line, then one line an event; UTF-8, fields quoted where needed.
std::string planCsv(const PlanRows& rows);

// One VEVENT an event, DTSTART and DTEND in UTC spanning aroundMinutes either side
// of the extremum (one minute from it when zero); the UID stays the same for the
// same star and cycle. dtstampUnixSeconds is when the calendar was made.
std::string planIcs(const PlanRows& rows, const sky::NightSummary& night, double aroundMinutes,
                    long long dtstampUnixSeconds);

// The header line of the night: dusk and dawn, the Moon's phase, rise and set.
std::string nightSummaryText(const sky::NightSummary& night);

// Where the save dialog of an export kind ("csv", "ics", "png", "svg") starts: the
// folder the last export of that kind went to while it exists, else the documents
// folder's Tenmirel (the current folder when there is no documents folder).
QString exportStartFolder(QSettings& settings, const QString& kind,
                          const std::optional<std::filesystem::path>& documents);
// Remembers the folder of a file written by an export of that kind.
void rememberExportFolder(QSettings& settings, const QString& kind, const QString& writtenPath);

bool savePicturePng(const NightPictureData& data, QSize size, double devicePixelRatio, const QString& path);
bool savePictureSvg(const NightPictureData& data, QSize size, const QString& path);

}  // namespace tenmirel::ui
