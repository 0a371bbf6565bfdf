#include "importer/record_checks.h"

#include <algorithm>

#include "catalogue/catalogue_writer.h"
#include "catalogue/text_encoding.h"
#include "importer/field_text.h"

namespace tenmirel::importer {
namespace {

constexpr double kHoursPerDay = 24.0;
constexpr double kMinutesPerUnit = 60.0;
constexpr double kPoleDegrees = 90.0;

bool hasLineBreak(const std::string& text) { return text.find_first_of("\r\n") != std::string::npos; }

std::optional<double> unsignedNumber(const std::string& text) {
  const std::string_view t = trimmed(text);
  if (t.empty() || t.front() == '-' || t.front() == '+') return std::nullopt;
  return plainDecimal(t);
}

}  // namespace

Refusal checkStarRecord(const StarRecord& record) {
  const std::string star = "「" + record.starName + "」";
  for (const auto field : kStarRecordFields) {
    if (hasLineBreak(record.*field)) return star + "の項目に改行があります。一行で書いてください。";
  }
  if (trimmed(record.starName).empty()) return std::string("星名が空です。");
  Cp932Encoder encoder;
  const auto name = encoder.encode(record.starName);
  if (!name) return star + "の星名には CP932（Shift_JIS）で書けない文字があります。";
  if (name->size() > kMaxNameBytes)
    return star + "の星名が長すぎます（" + std::to_string(kMaxNameBytes) + "バイトまで）。";
  const auto epoch = unsignedNumber(record.ganki);
  if (!epoch || *epoch <= 0) return star + "の元期「" + record.ganki + "」はユリウス日の正の数で書いてください。";
  const auto period = unsignedNumber(record.syuki);
  if (!period || *period <= 0) return star + "の周期「" + record.syuki + "」は日数の正の数で書いてください。";
  const auto hour = unsignedNumber(record.alphaHour);
  const auto minute = unsignedNumber(record.alphaMin);
  if (!hour || *hour >= kHoursPerDay || *hour != static_cast<double>(static_cast<int>(*hour)) || !minute ||
      *minute >= kMinutesPerUnit) {
    return star + "の赤経「" + record.alphaHour + "h " + record.alphaMin +
           "m」は 0～23 時と 0 以上 60 未満の分で書いてください。";
  }
  if (record.deltaSign != kSouthSignText && record.deltaSign != "True") {
    return star + "の赤緯の符号「" + record.deltaSign + "」は True（北）か False（南）で書いてください。";
  }
  const auto degrees = unsignedNumber(record.deltaDeg);
  const auto arcMinutes = unsignedNumber(record.deltaMin);
  if (!degrees || *degrees != static_cast<double>(static_cast<int>(*degrees)) || !arcMinutes ||
      *arcMinutes >= kMinutesPerUnit || *degrees + *arcMinutes / kMinutesPerUnit > kPoleDegrees) {
    return star + "の赤緯「" + record.deltaDeg + "° " + record.deltaMin +
           "′」は 90° までの度と 0 以上 60 未満の分で書いてください。";
  }
  const auto memo = encoder.encode(record.memo);
  if (!memo) return star + "のメモには CP932（Shift_JIS）で書けない文字があります。";
  if (memo->size() > kMaxMemoBytes) {
    return star + "のメモが長すぎます（" + std::to_string(memo->size()) + "バイト、" + std::to_string(kMaxMemoBytes) +
           "バイトまで）。";
  }
  return std::nullopt;
}

std::optional<std::string> cp932RecordText(const StarRecord& record) {
  Cp932Encoder encoder;
  return cp932RecordText(record, encoder);
}

std::optional<std::string> cp932RecordText(const StarRecord& record, Cp932Encoder& encoder) {
  std::string text;
  text.reserve(256);
  for (const auto field : kStarRecordFields) {
    const std::string& value = record.*field;
    if (std::all_of(value.begin(), value.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
      text += value;
    } else {
      const auto encoded = encoder.encode(value);
      if (!encoded) return std::nullopt;
      text += *encoded;
    }
    text += kCatalogueLineEnd;
  }
  return text;
}

}  // namespace tenmirel::importer
