#include "sheet/file_delivery.h"

namespace tenmirel {

std::string saveFailedMessage(const SavedFile& file) {
  return "表計算ファイル「" + file.path + "」を保存できませんでした。" + file.reason;
}

std::string fileNotShownMessage(const SavedFile& file) {
  return "表計算ファイルを開くアプリケーションが見つかりませんでした。ファイルは「" + file.path +
         "」に保存されています。";
}

bool reportFailedSave(const SheetOutput& output, MessageSink& messages) {
  if (output.delivery == nullptr) return true;
  const std::optional<SavedFile> file = output.delivery->lastFile();
  if (!file || file->saved) return true;
  messages.showMessage(saveFailedMessage(*file));
  return false;
}

std::string withFileLocation(const std::string& closing, const SheetOutput& output) {
  if (output.delivery == nullptr) return closing;
  const std::optional<SavedFile> file = output.delivery->lastFile();
  if (!file || !file->saved || !file->showRequested || file->shown) return closing;
  return closing.empty() ? fileNotShownMessage(*file) : closing + "\n" + fileNotShownMessage(*file);
}

}  // namespace tenmirel
