#include "importer/catalogue_format.h"

#include <cctype>

#include "importer/field_text.h"
#include "importer/gcvs_layout.h"
#include "importer/vsx_dat_layout.h"

namespace tenmirel::importer {
namespace {

struct FormatNames {
  CatalogueFormat format;
  const char* key;
  const char* title;
  const char* source;
};

constexpr FormatNames kNames[] = {
    {CatalogueFormat::gcvs51, "gcvs5", "GCVS 5.1", "GCVS5.1"},
    {CatalogueFormat::gcvsIii, "gcvs-iii", "GCVS（旧ウェブ形式 iii）", "GCVS-iii"},
    {CatalogueFormat::vsxCsv, "vsx-csv", "VSX CSV", "VSX"},
    {CatalogueFormat::vsxDat, "vsx-dat", "VSX（VizieR vsx.dat）", "VSX"},
    {CatalogueFormat::vsxJson, "vsx-json", "VSX API（JSON）", "VSX"},
    {CatalogueFormat::delimited, "table", "区切り文字の表", "表"},
};

const FormatNames& namesOf(CatalogueFormat format) {
  for (const FormatNames& names : kNames) {
    if (names.format == format) return names;
  }
  return kNames[0];
}

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(text[i])) != std::tolower(static_cast<unsigned char>(prefix[i]))) {
      return false;
    }
  }
  return true;
}

}  // namespace

const char* formatKey(CatalogueFormat format) { return namesOf(format).key; }
const char* formatTitle(CatalogueFormat format) { return namesOf(format).title; }
const char* formatSource(CatalogueFormat format) { return namesOf(format).source; }

std::optional<CatalogueFormat> parseFormatKey(std::string_view key) {
  for (const FormatNames& names : kNames) {
    if (key == names.key) return names.format;
  }
  return std::nullopt;
}

sky::ElementsTime defaultElementsTime(CatalogueFormat format) {
  switch (format) {
    case CatalogueFormat::vsxCsv:
    case CatalogueFormat::vsxDat:
    case CatalogueFormat::vsxJson:
      return sky::ElementsTime::hjd;
    case CatalogueFormat::gcvs51:
    case CatalogueFormat::gcvsIii:
    case CatalogueFormat::delimited:
      break;
  }
  return sky::ElementsTime::jd;
}

std::optional<CatalogueFormat> detectFormat(std::string_view firstLine) {
  if (firstLine.substr(0, 3) == "\xEF\xBB\xBF") firstLine.remove_prefix(3);
  while (!firstLine.empty() && firstLine.back() == '\r') firstLine.remove_suffix(1);
  const std::string_view text = trimmed(firstLine);
  if (text.empty()) return std::nullopt;
  if (text.front() == '{' || text.front() == '[') return CatalogueFormat::vsxJson;
  if (startsWithNoCase(text, "#OID,") || startsWithNoCase(text, "OID,")) return CatalogueFormat::vsxCsv;
  if (firstLine.size() > 40 && matchesGcvsLayout(firstLine, gcvs51Layout()) && firstLine[40] == '|') {
    return CatalogueFormat::gcvs51;
  }
  if (firstLine.size() > 36 && matchesGcvsLayout(firstLine, gcvsIiiLayout()) && firstLine[36] == '|') {
    return CatalogueFormat::gcvsIii;
  }
  if (looksLikeVsxDatLine(firstLine)) return CatalogueFormat::vsxDat;
  return std::nullopt;
}

}  // namespace tenmirel::importer
