// Arbitrary bytes as a catalogue file read a record at a time: the streamed
// reading must agree with the whole reading, record for record, failure for
// failure.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "catalogue/star_file.h"

namespace {

void require(bool condition) {
  if (!condition) std::abort();
}

// The file each input is written to, removed when the fuzzer ends.
struct ScratchFile {
  std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("tenmirel-fuzz-stream-" + std::to_string(::getpid()) + ".vsd");
  ~ScratchFile() {
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
  }
};

const std::filesystem::path& scratchFile() {
  static const ScratchFile file;
  return file.path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tenmirel;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  std::ofstream(scratchFile(), std::ios::binary | std::ios::trunc) << bytes;
  std::istringstream in(bytes);
  const StarFileReadResult whole = readStarStream(in, RecordLimit::none);
  std::size_t handed = 0;
  const StarFileReadResult streamed = streamStarFile(scratchFile(), RecordLimit::none, [&](StarRecord&& record) {
    require(handed < whole.records.size());
    for (const auto field : kStarRecordFields) require(record.*field == whole.records[handed].*field);
    ++handed;
  });
  require(streamed.failure == whole.failure);
  require(streamed.failedRecord == whole.failedRecord);
  require(handed == (whole.ok() ? whole.records.size() : 0));
  return 0;
}
