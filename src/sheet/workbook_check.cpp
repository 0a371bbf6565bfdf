#include "sheet/workbook_check.h"

#include <array>
#include <cstdint>
#include <fstream>
#include <set>
#include <vector>

namespace tenmirel {
namespace {

constexpr std::uint32_t kEndOfDirectorySignature = 0x06054b50;
constexpr std::uint32_t kDirectoryEntrySignature = 0x02014b50;
constexpr std::uint32_t kLocalHeaderSignature = 0x04034b50;
constexpr std::size_t kEndOfDirectoryBytes = 22;
constexpr std::size_t kMaxArchiveCommentBytes = 0xFFFF;
constexpr std::size_t kDirectoryEntryBytes = 46;
constexpr std::size_t kLocalHeaderBytes = 30;

// The parts every workbook the lists write holds.
const std::array<const char*, 6> kRequiredParts = {"[Content_Types].xml", "_rels/.rels",   "docProps/core.xml",
                                                   "xl/workbook.xml",     "xl/styles.xml", "xl/worksheets/sheet1.xml"};

std::uint32_t little(const std::vector<unsigned char>& bytes, std::size_t at, int width) {
  std::uint32_t value = 0;
  for (int i = width - 1; i >= 0; --i) value = (value << 8) | bytes[at + static_cast<std::size_t>(i)];
  return value;
}

std::vector<unsigned char> readAll(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

constexpr const char* kIncomplete = "書き出したファイルが不完全です（ディスクの空き容量が足りない可能性があります）。";

}  // namespace

std::string checkWorkbookFile(const std::filesystem::path& file) {
  const std::vector<unsigned char> bytes = readAll(file);
  if (bytes.size() < kEndOfDirectoryBytes) return kIncomplete;
  // The end record is the last thing in the file, before a comment of up to 64 KiB.
  std::size_t end = bytes.size() - kEndOfDirectoryBytes;
  const std::size_t lowest = end > kMaxArchiveCommentBytes ? end - kMaxArchiveCommentBytes : 0;
  while (little(bytes, end, 4) != kEndOfDirectorySignature) {
    if (end == lowest) return kIncomplete;
    --end;
  }
  const std::uint32_t entries = little(bytes, end + 10, 2);
  const std::uint32_t directoryBytes = little(bytes, end + 12, 4);
  const std::uint32_t directoryStart = little(bytes, end + 16, 4);
  if (entries == 0 || std::size_t{directoryStart} + directoryBytes > end) return kIncomplete;

  std::set<std::string> parts;
  std::size_t at = directoryStart;
  for (std::uint32_t i = 0; i < entries; ++i) {
    if (at + kDirectoryEntryBytes > end || little(bytes, at, 4) != kDirectoryEntrySignature) return kIncomplete;
    const std::uint32_t packedSize = little(bytes, at + 20, 4);
    const std::uint32_t size = little(bytes, at + 24, 4);
    const std::uint32_t nameBytes = little(bytes, at + 28, 2);
    const std::uint32_t extraBytes = little(bytes, at + 30, 2);
    const std::uint32_t commentBytes = little(bytes, at + 32, 2);
    const std::uint32_t localHeader = little(bytes, at + 42, 4);
    if (at + kDirectoryEntryBytes + nameBytes > end) return kIncomplete;
    const std::string name(bytes.begin() + static_cast<std::ptrdiff_t>(at + kDirectoryEntryBytes),
                           bytes.begin() + static_cast<std::ptrdiff_t>(at + kDirectoryEntryBytes + nameBytes));
    // An empty part is a part whose temporary file could not be written.
    if (size == 0 || packedSize == 0) return kIncomplete;
    if (std::size_t{localHeader} + kLocalHeaderBytes + packedSize > directoryStart ||
        little(bytes, localHeader, 4) != kLocalHeaderSignature) {
      return kIncomplete;
    }
    parts.insert(name);
    at += kDirectoryEntryBytes + nameBytes + extraBytes + commentBytes;
  }
  for (const char* part : kRequiredParts) {
    if (parts.count(part) == 0) return kIncomplete;
  }
  return {};
}

}  // namespace tenmirel
