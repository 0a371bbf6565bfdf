#include "sheet/xlsx_component.h"

#include <xlsxwriter.h>

#include <cerrno>
#include <system_error>

#include "sheet/os_file_adapter.h"
#include "sheet/sheet_files.h"
#include "sheet/workbook_check.h"

namespace tenmirel {
namespace {

constexpr ObjectRef kApplication{1};
constexpr ObjectRef kWorkbook{2};
constexpr ObjectRef kWorksheet{3};
constexpr int kMaxNameAttempts = 1000;
// Widths (in characters) that show the star names and the Julian day in full.
constexpr double kFirstColumnWidth = 16;
constexpr double kJulianDayColumnWidth = 15;
constexpr int kJulianDayColumnIndex = 7;  // column H, counted from 0

constexpr const char* kReplacementCharacter = "\xEF\xBF\xBD";

std::string pathText(const std::filesystem::path& path) { return path.string(); }

// A NUL would end the cell's text early in the writer; it is shown as U+FFFD instead.
std::string withoutNul(const std::string& text) {
  if (text.find('\0') == std::string::npos) return text;
  std::string shown;
  for (char c : text) {
    if (c == '\0') {
      shown += kReplacementCharacter;
    } else {
      shown.push_back(c);
    }
  }
  return shown;
}

std::string reasonText(int errorNumber) { return describeFileError(errorNumber) + "。"; }

}  // namespace

XlsxFileComponent::XlsxFileComponent(XlsxFileSettings settings) : settings_(std::move(settings)) {}

XlsxFileComponent::~XlsxFileComponent() { discardWorkbook(); }

void XlsxFileComponent::beginList(const std::string& listName) {
  listName_ = listName;
  lastFile_.reset();
}

Obtained XlsxFileComponent::attach(const std::string&) { return {kNoRunningInstanceError, {}}; }

Obtained XlsxFileComponent::create(const std::string&) {
  discardWorkbook();
  lastFile_.reset();
  running_ = true;
  showRequested_ = false;
  return {0, kApplication};
}

int XlsxFileComponent::makeVisible(ObjectRef application) {
  if (!running_ || application != kApplication) return kObjectRequiredError;
  showRequested_ = true;
  return 0;
}

Obtained XlsxFileComponent::activeWorkbook(ObjectRef application) {
  if (!running_ || application != kApplication) return {kObjectRequiredError, {}};
  return {0, {}};  // a new instance has no workbook open
}

Obtained XlsxFileComponent::addSheet(ObjectRef) { return {kObjectRequiredError, {}}; }

Obtained XlsxFileComponent::addWorkbook(ObjectRef application) {
  if (!running_ || application != kApplication) return {kObjectRequiredError, {}};
  discardWorkbook();
  if (int failure = startFile(); failure != 0) return {failure, {}};
  return {0, kWorkbook};
}

int XlsxFileComponent::startFile() {
  startedAt_ = settings_.clock();
  std::filesystem::path intended;
  keptMode_.reset();
  refusedCell_.clear();
  if (settings_.exactPath) {
    intended = *settings_.exactPath;
    folder_ = intended.parent_path().empty() ? std::filesystem::path(".") : intended.parent_path();
    if (const std::string refused = checkTarget(intended); !refused.empty()) {
      fail(intended, refused);
      return kFileAccessError;
    }
  } else {
    if (!settings_.documentsFolder) {
      fail(std::filesystem::path("~/Documents") / kSheetFolderName / sheetFileName(startedAt_, listName_, 1),
           "文書フォルダが見つかりません（環境変数 HOME が設定されていません）。");
      return kFileAccessError;
    }
    folder_ = *settings_.documentsFolder / kSheetFolderName;
    intended = folder_ / sheetFileName(startedAt_, listName_, 1);
    std::error_code error;
    std::filesystem::create_directories(folder_, error);
    if (error) {
      fail(intended,
           "保存先のフォルダ「" + pathText(folder_) + "」を作れません（" + describeFileError(error.value()) + "）。");
      return kFileAccessError;
    }
  }
  // Reserve a temporary name beside the target, so the rename stays on one file system.
  const ReservedFile reserved = reserveTemporaryFile(folder_, ".tenmirel-");
  if (reserved.error != 0) {
    fail(intended, reasonText(reserved.error));
    return kFileAccessError;
  }
  tempPath_ = reserved.path;
  lastFile_ = SavedFile{false, pathText(intended), {}, false, false};
  // The parts are assembled in the target's folder too, not in a temporary folder
  // that may be full or small.
  std::string partsFolder = pathText(folder_);
  lxw_workbook_options options{};
  options.tmpdir = partsFolder.data();
  {
    const QuietStandardError quiet;
    workbook_ = workbook_new_opt(tempPath_.c_str(), &options);
  }
  if (workbook_ == nullptr) {
    removeFile(tempPath_);
    fail(intended, "メモリが足りません。");
    return kFileAccessError;
  }
  julianDayFormat_ = workbook_add_format(workbook_);
  format_set_num_format(julianDayFormat_, kJulianDayCellFormat);
  return 0;
}

Obtained XlsxFileComponent::activeSheet(ObjectRef workbook) {
  if (workbook != kWorkbook || workbook_ == nullptr) return {kObjectRequiredError, {}};
  if (worksheet_ == nullptr) {
    worksheet_ = workbook_add_worksheet(workbook_, nullptr);
    if (worksheet_ == nullptr) return {kObjectRequiredError, {}};
    worksheet_set_column(worksheet_, 0, 0, kFirstColumnWidth, nullptr);
    worksheet_set_column(worksheet_, kJulianDayColumnIndex, kJulianDayColumnIndex, kJulianDayColumnWidth, nullptr);
  }
  return {0, kWorksheet};
}

int XlsxFileComponent::setCell(ObjectRef worksheet, std::int16_t row, std::int16_t column, const CellValue& value) {
  if (worksheet != kWorksheet || worksheet_ == nullptr) return kObjectRequiredError;
  if (row < 1 || column < 1) return kCellRefusedError;
  const auto r = static_cast<lxw_row_t>(row - 1);
  const auto c = static_cast<lxw_col_t>(column - 1);
  lxw_error error = LXW_NO_ERROR;
  if (const auto* number = std::get_if<double>(&value)) {
    error = worksheet_write_number(worksheet_, r, c, *number, julianDayFormat_);
  } else {
    error = worksheet_write_string(worksheet_, r, c, withoutNul(std::get<std::string>(value)).c_str(), nullptr);
  }
  if (error == LXW_NO_ERROR) return 0;
  noteRefusedCell(static_cast<std::size_t>(row), static_cast<std::size_t>(column), error);
  return kCellRefusedError;
}

void XlsxFileComponent::noteRefusedCell(std::size_t row, std::size_t column, int error) {
  // The list goes on without the cell; the file must not be passed off as complete.
  if (!refusedCell_.empty()) return;
  const char* why = error == LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED ? "文字数が上限の 32767 字を超えています"
                                                                  : "書き出しが値を受け付けませんでした";
  refusedCell_ =
      std::to_string(row) + "行目・" + std::to_string(column) + "列目のセルを書き込めませんでした（" + why + "）。";
}

SavedFile XlsxFileComponent::writeTypedWorkbook(const std::string& listName, const std::vector<TypedSheet>& sheets,
                                                bool show) {
  beginList(listName);
  const Obtained application = create(kSpreadsheetClassName);
  if (show) makeVisible(application.object);
  for (const TypedSheet& sheet : sheets) {
    const std::size_t rows = typedSheetHeaderRow(sheet) + sheet.rows.size();
    if (rows > kMostXlsxRows) {
      release(application.object);
      return SavedFile{false, listName,
                       "行が多すぎます（表計算ファイルの1枚に " + std::to_string(kMostXlsxRows) +
                           " 行まで）。星名や条件で絞ってください。",
                       false, false};
    }
  }
  const Obtained workbook = addWorkbook(application.object);
  if (workbook.error == 0) {
    for (const TypedSheet& sheet : sheets) writeTypedSheet(sheet);
    release(workbook.object);
  }
  release(application.object);
  return lastFile_.value_or(SavedFile{false, listName, "書き出しに失敗しました。", false, false});
}

void XlsxFileComponent::writeTypedSheet(const TypedSheet& sheet) {
  lxw_worksheet* worksheet =
      workbook_add_worksheet(workbook_, sheet.name.empty() ? nullptr : withoutNul(sheet.name).c_str());
  if (worksheet == nullptr) {
    noteRefusedCell(1, 1, LXW_ERROR_PARAMETER_VALIDATION);
    return;
  }
  lxw_format* titleFormat = workbook_add_format(workbook_);
  format_set_bold(titleFormat);
  std::vector<lxw_format*> formats;
  for (std::size_t c = 0; c < sheet.columns.size(); ++c) {
    const TypedColumn& column = sheet.columns[c];
    lxw_format* format = nullptr;
    if (!column.numberFormat.empty()) {
      format = workbook_add_format(workbook_);
      format_set_num_format(format, column.numberFormat.c_str());
    }
    formats.push_back(format);
    worksheet_set_column(worksheet, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c), column.widthCharacters,
                         nullptr);
  }
  auto put = [&](std::size_t row, std::size_t column, lxw_error error) {
    if (error != LXW_NO_ERROR) noteRefusedCell(row + 1, column + 1, error);
  };
  for (std::size_t r = 0; r < sheet.facts.size(); ++r) {
    for (std::size_t c = 0; c < sheet.facts[r].size(); ++c) {
      put(r, c,
          worksheet_write_string(worksheet, static_cast<lxw_row_t>(r), static_cast<lxw_col_t>(c),
                                 withoutNul(sheet.facts[r][c]).c_str(), c == 0 ? titleFormat : nullptr));
    }
  }
  const auto header = static_cast<lxw_row_t>(typedSheetHeaderRow(sheet) - 1);
  for (std::size_t c = 0; c < sheet.columns.size(); ++c) {
    put(header, c,
        worksheet_write_string(worksheet, header, static_cast<lxw_col_t>(c), withoutNul(sheet.columns[c].title).c_str(),
                               titleFormat));
  }
  for (std::size_t r = 0; r < sheet.rows.size(); ++r) {
    const auto row = static_cast<lxw_row_t>(header + 1 + r);
    for (std::size_t c = 0; c < sheet.rows[r].size() && c < sheet.columns.size(); ++c) {
      const auto column = static_cast<lxw_col_t>(c);
      const TypedCell& cell = sheet.rows[r][c];
      if (const auto* text = std::get_if<std::string>(&cell)) {
        put(row, c, worksheet_write_string(worksheet, row, column, withoutNul(*text).c_str(), nullptr));
      } else if (const auto* number = std::get_if<double>(&cell)) {
        put(row, c, worksheet_write_number(worksheet, row, column, *number, formats[c]));
      } else if (const auto* at = std::get_if<SheetDateTime>(&cell)) {
        lxw_datetime value{at->year, at->month, at->day, at->hour, at->minute, 0};
        put(row, c, worksheet_write_datetime(worksheet, row, column, &value, formats[c]));
      }
    }
  }
  if (!sheet.columns.empty()) {
    // The titles stay in sight and filter the table.
    worksheet_freeze_panes(worksheet, header + 1, 0);
    const auto last = static_cast<lxw_row_t>(header + sheet.rows.size());
    worksheet_autofilter(worksheet, header, 0, last, static_cast<lxw_col_t>(sheet.columns.size() - 1));
  }
}

int XlsxFileComponent::release(ObjectRef object) {
  if (object == kWorkbook) return workbook_ == nullptr ? kObjectRequiredError : save();
  if (object == kApplication) {
    if (showRequested_ && settings_.openWhenShown && lastFile_ && lastFile_->saved) {
      lastFile_->showRequested = true;
      lastFile_->shown = settings_.opener != nullptr && settings_.opener->openWithDefaultApplication(lastFile_->path);
    }
    running_ = false;
    showRequested_ = false;
  }
  return 0;
}

std::string XlsxFileComponent::checkTarget(const std::filesystem::path& target) {
  const PathStatus status = pathStatus(target);
  if (status.kind == PathKind::kAbsent) return {};  // a new file
  if (status.kind == PathKind::kDirectory) return reasonText(EISDIR);
  if (status.kind != PathKind::kRegularFile)
    return "ファイルでないもの（デバイスやパイプ）があり、置き換えられません。";
  keptMode_ = status.permissionBits;
  return {};
}

int XlsxFileComponent::refuseSaved(const std::string& reason) {
  removeFile(tempPath_);
  lastFile_->reason = reason;
  return kFileAccessError;
}

int XlsxFileComponent::save() {
  errno = 0;
  lxw_error closed = LXW_NO_ERROR;
  {
    const QuietStandardError quiet;
    closed = workbook_close(workbook_);
  }
  const int closeErrno = errno;
  workbook_ = nullptr;
  worksheet_ = nullptr;
  julianDayFormat_ = nullptr;
  if (closed != LXW_NO_ERROR) {
    removeFile(tempPath_);
    lastFile_->reason = closeErrno != 0 ? reasonText(closeErrno)
                                        : std::string("書き出しに失敗しました（") + lxw_strerror(closed) + "）。";
    return kFileAccessError;
  }
  if (!refusedCell_.empty()) return refuseSaved(refusedCell_);
  if (const std::string incomplete = checkWorkbookFile(tempPath_); !incomplete.empty()) return refuseSaved(incomplete);
  if (settings_.exactPath) {
    if (const std::string refused = checkTarget(*settings_.exactPath); !refused.empty()) return refuseSaved(refused);
  }
  // mkstemp made the file private; a list gets the mode the user's files get, or keeps the replaced file's.
  if (const int modeError = setPermissionBits(tempPath_, keptMode_ ? *keptMode_ : userFileMode()); modeError != 0) {
    return refuseSaved(reasonText(modeError));
  }
  if (settings_.exactPath) {
    if (const int renameError = moveReplacing(tempPath_, *settings_.exactPath); renameError != 0) {
      removeFile(tempPath_);
      lastFile_->reason = reasonText(renameError);
      return kFileAccessError;
    }
    lastFile_->saved = true;
    return 0;
  }
  for (int attempt = 1; attempt <= kMaxNameAttempts; ++attempt) {
    const std::filesystem::path target = folder_ / sheetFileName(startedAt_, listName_, attempt);
    const int moveError = moveWithoutReplacing(tempPath_, target);
    if (moveError == 0) {
      lastFile_->path = pathText(target);
      lastFile_->saved = true;
      return 0;
    }
    if (moveError != EEXIST) {
      removeFile(tempPath_);
      lastFile_->reason = reasonText(moveError);
      return kFileAccessError;
    }
  }
  removeFile(tempPath_);
  lastFile_->reason = reasonText(EEXIST);
  return kFileAccessError;
}

void XlsxFileComponent::discardWorkbook() {
  if (workbook_ == nullptr) return;
  // libxlsxwriter frees a workbook only by writing it; write the abandoned one and drop it.
  {
    const QuietStandardError quiet;
    workbook_close(workbook_);
  }
  removeFile(tempPath_);
  workbook_ = nullptr;
  worksheet_ = nullptr;
  julianDayFormat_ = nullptr;
}

void XlsxFileComponent::fail(const std::filesystem::path& path, const std::string& reason) {
  lastFile_ = SavedFile{false, pathText(path), reason, false, false};
}

}  // namespace tenmirel
