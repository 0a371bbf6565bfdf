#pragma once
// The byte-order mark that tells spreadsheet programs set for Japanese that a CSV
// file is UTF-8; without it they read the headers as CP932.
namespace tenmirel {

inline constexpr const char* kUtf8ByteOrderMark = "\xEF\xBB\xBF";

}  // namespace tenmirel
