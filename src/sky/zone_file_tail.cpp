#include "sky/zone_file_tail.h"

namespace tenmirel::sky {
namespace {

constexpr std::size_t kHeaderBytes = 44;
constexpr std::size_t kCountsOffset = 20;
// Transitions further out than about 30,000 years are not a zone's.
constexpr std::int64_t kLargestTransitionSeconds = 1000000000000;

struct Counts {
  std::uint64_t isUt, isStd, leap, time, type, chars;
};

std::uint64_t bigEndian(std::string_view bytes, std::size_t at, std::size_t width) {
  std::uint64_t value = 0;
  for (std::size_t i = 0; i < width; ++i) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

std::optional<Counts> headerAt(std::string_view bytes, std::size_t at) {
  if (bytes.size() < at || bytes.size() - at < kHeaderBytes || bytes.substr(at, 4) != "TZif") return std::nullopt;
  auto count = [&](int index) { return bigEndian(bytes, at + kCountsOffset + 4 * static_cast<std::size_t>(index), 4); };
  return Counts{count(0), count(1), count(2), count(3), count(4), count(5)};
}

// The bytes of a data block after its header; counts are at most 2^32, so the sum
// cannot overflow 64 bits.
std::uint64_t blockBytes(const Counts& c, std::uint64_t timeWidth) {
  return c.time * timeWidth + c.time + c.type * 6 + c.chars + c.leap * (timeWidth + 4) + c.isStd + c.isUt;
}

}  // namespace

std::optional<ZoneFileTail> readZoneFileTail(std::string_view bytes) {
  const std::optional<Counts> first = headerAt(bytes, 0);
  if (!first || bytes[4] < '2') return std::nullopt;
  const std::uint64_t secondAt = kHeaderBytes + blockBytes(*first, 4);
  if (secondAt > bytes.size()) return std::nullopt;
  const std::optional<Counts> second = headerAt(bytes, static_cast<std::size_t>(secondAt));
  if (!second || second->time == 0) return std::nullopt;
  const std::uint64_t dataAt = secondAt + kHeaderBytes;
  const std::uint64_t footerAt = dataAt + blockBytes(*second, 8);
  if (footerAt > bytes.size()) return std::nullopt;
  std::string_view footer = bytes.substr(static_cast<std::size_t>(footerAt));
  if (footer.size() < 2 || footer.front() != '\n') return std::nullopt;
  footer.remove_prefix(1);
  const std::size_t end = footer.find('\n');
  if (end == std::string_view::npos) return std::nullopt;
  ZoneFileTail tail;
  tail.rule = std::string(footer.substr(0, end));
  const std::uint64_t last = bigEndian(bytes, static_cast<std::size_t>(dataAt + (second->time - 1) * 8), 8);
  tail.lastTransition = static_cast<std::int64_t>(last);
  if (tail.lastTransition > kLargestTransitionSeconds || tail.lastTransition < -kLargestTransitionSeconds) {
    return std::nullopt;
  }
  return tail;
}

}  // namespace tenmirel::sky
