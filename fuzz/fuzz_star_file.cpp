// Arbitrary bytes as a catalogue file: the reader must never crash, leak or
// misbehave, and what it returns must hold together.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "catalogue/star_file.h"
#include "catalogue/text_decoding.h"

namespace {

void require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tenmirel;
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  const StarFileReadResult result = readStarStream(in);

  if (result.ok()) {
    require(result.count >= 1 && result.count <= kMaxStarRecords);
    require(result.records.size() == static_cast<std::size_t>(result.count));
    for (const StarRecord& r : result.records) {
      // Whatever the bytes, every stored text is well-formed UTF-8.
      for (const auto field : kStarRecordFields) require(isValidUtf8(r.*field));
    }
    require(findStar(result.records, result.records.front().starName) == 0);
  } else {
    require(result.records.empty());
    if (result.failure == StarFileFailure::endsInsideRecord) {
      require(result.failedRecord >= 1 && result.failedRecord <= result.count);
    }
  }
  require(describeStarFileFailure("fuzz.vsd", result).empty() == result.ok());
  return 0;
}
