#include "sheet/file_delivery.h"

namespace tenmirel {

std::string saveFailedMessage(const SavedFile& file) {
  return "表計算ファイル「" + file.path + "」を保存できませんでした。" + file.reason;
}

std::string fileNotShownMessage(const SavedFile& file) {
  return "表計算ファイルを開くアプリケーションが見つかりませんでした。ファイルは「" + file.path +
         "」に保存されています。";
}

bool reportDelivery(const SheetOutput& output, MessageSink& messages) {
  if (output.delivery == nullptr) return true;
  const std::optional<SavedFile> file = output.delivery->lastFile();
  if (!file) return true;
  if (!file->saved) {
    messages.showMessage(saveFailedMessage(*file));
    return false;
  }
  if (file->showRequested && !file->shown) messages.showMessage(fileNotShownMessage(*file));
  return true;
}

}  // namespace tenmirel
