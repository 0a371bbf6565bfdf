#include "cli/import_report.h"

#include <nlohmann/json.hpp>

#include "catalogue/star_file.h"
#include "cli/terminal_text.h"

namespace tenmirel::cli {
namespace {

using importer::FilterMiss;
using importer::SkipReason;

std::string elementsNote(const ImportOutcome& outcome) {
  std::string note = sky::elementsTimeName(outcome.elementsTime);
  if (outcome.elementsTime == sky::ElementsTime::hjd &&
      importer::defaultElementsTime(outcome.report.format) == sky::ElementsTime::hjd) {
    note += "（VSX の表示どおり。GCVS から移された古い元期は JD のことがあります）";
  }
  return note;
}

}  // namespace

void printImportText(const ImportOutcome& outcome, std::ostream& out) {
  const importer::ImportReport& report = outcome.report;
  out << "取り込み: " << shownOnTerminal(outcome.input) << "（" << importer::formatTitle(report.format) << "、"
      << report.lines << "行）\n";
  out << "読んだ星: " << report.read << '\n';
  out << "書き出した星: " << report.imported;
  for (const auto& path : outcome.written)
    out << (path == outcome.written.front() ? " → " : "、") << shownOnTerminal(path.string());
  out << '\n';
  out << "元期の時刻系: " << elementsNote(outcome) << '\n';
  out << "予報できない星: " << report.skippedTotal() << '\n';
  for (int i = 1; i < importer::kSkipReasonCount; ++i) {
    if (report.skipped[static_cast<std::size_t>(i)] == 0) continue;
    out << "  " << importer::skipReasonWords(static_cast<SkipReason>(i)) << ": "
        << report.skipped[static_cast<std::size_t>(i)] << '\n';
  }
  if (report.filteredTotal() > 0) {
    out << "絞り込みで除いた星: " << report.filteredTotal() << '\n';
    for (int i = 1; i < importer::kFilterMissCount; ++i) {
      if (report.filtered[static_cast<std::size_t>(i)] == 0) continue;
      out << "  " << importer::filterMissWords(static_cast<FilterMiss>(i)) << ": "
          << report.filtered[static_cast<std::size_t>(i)] << '\n';
    }
  }
  if (report.valueProblems > 0) {
    out << "読めない値のあった星: " << report.valueProblems << "（その値だけを欠けたものとして読みました）\n";
  }
  if (!report.names.empty()) {
    const std::uint64_t refused = report.skipped[static_cast<std::size_t>(SkipReason::nameNotEncodable)];
    out << "CP932 で書けない星名: " << report.transliterated + refused << "（英字に置き換え " << report.transliterated
        << "、取り込まず " << refused << "）\n";
    for (const auto& note : report.names) {
      out << "  " << note.line << "行目 " << shownOnTerminal(note.name)
          << (note.written.empty() ? " → 取り込みませんでした" : " → " + note.written) << '\n';
    }
  }
  if (report.imported > static_cast<std::uint64_t>(kMaxStarRecords) && outcome.written.size() == 1) {
    out << "注意: " << report.imported
        << "星を書き出しました。night コマンドはすべて読みますが、ウィンドウの星の表には最初の " << kMaxStarRecords
        << "星だけが出ます（--split で " << kMaxStarRecords << "星ずつの番号つきファイルにできます）。\n";
  }
  if (!report.firstSkipped.empty()) {
    out << "予報できない星の一覧";
    if (report.skippedTotal() > report.firstSkipped.size()) out << "（最初の" << report.firstSkipped.size() << "星）";
    out << ":\n";
    for (const auto& note : report.firstSkipped) {
      out << "  " << note.line << "行目 " << shownOnTerminal(note.name) << ": "
          << importer::skipReasonWords(note.reason) << '\n';
    }
  }
}

void printImportJson(const ImportOutcome& outcome, std::ostream& out) {
  const importer::ImportReport& report = outcome.report;
  nlohmann::ordered_json json;
  json["input"] = outcome.input;
  json["format"] = importer::formatKey(report.format);
  json["elements_time"] = sky::elementsTimeName(outcome.elementsTime);
  json["lines"] = report.lines;
  json["read"] = report.read;
  json["imported"] = report.imported;
  json["written"] = nlohmann::json::array();
  for (const auto& path : outcome.written) json["written"].push_back(path.string());
  nlohmann::ordered_json skipped = nlohmann::ordered_json::object();
  for (int i = 1; i < importer::kSkipReasonCount; ++i) {
    skipped[importer::skipReasonKey(static_cast<SkipReason>(i))] = report.skipped[static_cast<std::size_t>(i)];
  }
  json["skipped"] = skipped;
  nlohmann::ordered_json filtered = nlohmann::ordered_json::object();
  for (int i = 1; i < importer::kFilterMissCount; ++i) {
    filtered[importer::filterMissKey(static_cast<FilterMiss>(i))] = report.filtered[static_cast<std::size_t>(i)];
  }
  json["filtered"] = filtered;
  json["value_problems"] = report.valueProblems;
  json["names"] = nlohmann::json::array();
  for (const auto& note : report.names) {
    nlohmann::ordered_json name;
    name["line"] = note.line;
    name["name"] = note.name;
    name["written"] = note.written.empty() ? nlohmann::ordered_json() : nlohmann::ordered_json(note.written);
    name["refused"] = note.written.empty();
    json["names"].push_back(name);
  }
  json["first_skipped"] = nlohmann::json::array();
  for (const auto& note : report.firstSkipped) {
    nlohmann::ordered_json star;
    star["line"] = note.line;
    star["name"] = note.name;
    star["reason"] = importer::skipReasonKey(note.reason);
    json["first_skipped"].push_back(star);
  }
  json["beyond_star_table"] = report.imported > static_cast<std::uint64_t>(kMaxStarRecords);
  out << json.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
}

}  // namespace tenmirel::cli
