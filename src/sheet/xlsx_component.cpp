#include "sheet/xlsx_component.h"

#include <fcntl.h>
#include <unistd.h>
#include <xlsxwriter.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <system_error>

#include "sheet/sheet_files.h"

namespace tenmirel {
namespace {

constexpr ObjectRef kApplication{1};
constexpr ObjectRef kWorkbook{2};
constexpr ObjectRef kWorksheet{3};
// Failure numbers as an automation server would raise them.
constexpr int kNoRunningInstanceError = 429;
constexpr int kObjectRequiredError = 424;
constexpr int kFileAccessError = 75;
constexpr int kCellRefusedError = 1004;
constexpr int kMaxNameAttempts = 1000;
// Widths (in characters) that show the star names and the Julian day in full.
constexpr double kFirstColumnWidth = 16;
constexpr double kJulianDayColumnWidth = 15;
constexpr int kJulianDayColumnIndex = 7;  // column H, counted from 0

std::string pathText(const std::filesystem::path& path) { return path.string(); }

std::string reasonText(int errorNumber) { return describeFileError(errorNumber) + "。"; }

// Moves the finished file to its name without replacing a file already there.
int moveWithoutReplacing(const std::filesystem::path& from, const std::filesystem::path& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
  const int renameError = errno;
  if (renameError != EINVAL && renameError != ENOSYS && renameError != ENOTSUP) return renameError;
  // File systems without the no-replace rename: a hard link fails on an existing name as well.
  if (::link(from.c_str(), to.c_str()) == 0) {
    ::unlink(from.c_str());
    return 0;
  }
  return errno;
}

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
  if (settings_.exactPath) {
    intended = *settings_.exactPath;
    folder_ = intended.parent_path().empty() ? std::filesystem::path(".") : intended.parent_path();
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
      fail(intended, "保存先のフォルダ「" + pathText(folder_) + "」を作れません（" +
                         describeFileError(error.value()) + "）。");
      return kFileAccessError;
    }
  }
  // Reserve a temporary name beside the target, so the rename stays on one file system.
  std::string pattern = pathText(folder_ / ".tenmirel-XXXXXX");
  const int descriptor = ::mkstemp(pattern.data());
  if (descriptor < 0) {
    fail(intended, reasonText(errno));
    return kFileAccessError;
  }
  ::close(descriptor);
  tempPath_ = pattern;
  lastFile_ = SavedFile{false, pathText(intended), {}, false, false};
  workbook_ = workbook_new(tempPath_.c_str());
  if (workbook_ == nullptr) {
    ::unlink(tempPath_.c_str());
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
    worksheet_set_column(worksheet_, kJulianDayColumnIndex, kJulianDayColumnIndex, kJulianDayColumnWidth,
                         nullptr);
  }
  return {0, kWorksheet};
}

int XlsxFileComponent::setCell(ObjectRef worksheet, std::int16_t row, std::int16_t column,
                               const CellValue& value) {
  if (worksheet != kWorksheet || worksheet_ == nullptr) return kObjectRequiredError;
  if (row < 1 || column < 1) return kCellRefusedError;
  const auto r = static_cast<lxw_row_t>(row - 1);
  const auto c = static_cast<lxw_col_t>(column - 1);
  lxw_error error = LXW_NO_ERROR;
  if (const auto* number = std::get_if<double>(&value)) {
    error = worksheet_write_number(worksheet_, r, c, *number, julianDayFormat_);
  } else {
    error = worksheet_write_string(worksheet_, r, c, std::get<std::string>(value).c_str(), nullptr);
  }
  return error == LXW_NO_ERROR ? 0 : kCellRefusedError;
}

int XlsxFileComponent::release(ObjectRef object) {
  if (object == kWorkbook) return workbook_ == nullptr ? kObjectRequiredError : save();
  if (object == kApplication) {
    if (showRequested_ && lastFile_ && lastFile_->saved) {
      lastFile_->showRequested = true;
      lastFile_->shown =
          settings_.opener != nullptr && settings_.opener->openWithDefaultApplication(lastFile_->path);
    }
    running_ = false;
    showRequested_ = false;
  }
  return 0;
}

int XlsxFileComponent::save() {
  errno = 0;
  const lxw_error closed = workbook_close(workbook_);
  const int closeErrno = errno;
  workbook_ = nullptr;
  worksheet_ = nullptr;
  julianDayFormat_ = nullptr;
  if (closed != LXW_NO_ERROR) {
    ::unlink(tempPath_.c_str());
    lastFile_->reason = closeErrno != 0
                            ? reasonText(closeErrno)
                            : std::string("書き出しに失敗しました（") + lxw_strerror(closed) + "）。";
    return kFileAccessError;
  }
  if (settings_.exactPath) {
    if (std::rename(tempPath_.c_str(), settings_.exactPath->c_str()) != 0) {
      const int renameError = errno;
      ::unlink(tempPath_.c_str());
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
      ::unlink(tempPath_.c_str());
      lastFile_->reason = reasonText(moveError);
      return kFileAccessError;
    }
  }
  ::unlink(tempPath_.c_str());
  lastFile_->reason = reasonText(EEXIST);
  return kFileAccessError;
}

void XlsxFileComponent::discardWorkbook() {
  if (workbook_ == nullptr) return;
  // libxlsxwriter frees a workbook only by writing it; write the abandoned one and drop it.
  workbook_close(workbook_);
  ::unlink(tempPath_.c_str());
  workbook_ = nullptr;
  worksheet_ = nullptr;
  julianDayFormat_ = nullptr;
}

void XlsxFileComponent::fail(const std::filesystem::path& path, const std::string& reason) {
  lastFile_ = SavedFile{false, pathText(path), reason, false, false};
}

}  // namespace tenmirel
