#include "sky/elements_settings.h"

#include <toml++/toml.h>

#include <sstream>
#include <system_error>

#include "sky/config_files.h"

namespace tenmirel::sky {
namespace {

constexpr const char* kSettingsFileName = "settings.toml";
constexpr const char* kElementsTable = "elements";

std::string damaged(const std::filesystem::path& file, long line, const std::string& what) {
  return "設定ファイル " + file.string() + " の " + std::to_string(line) + " 行目: " + what +
         "。要素の時刻系はすべて JD として扱います（ファイルは書き換えません）。";
}

}  // namespace

std::filesystem::path ElementsSettings::defaultFile() { return configFolder() / kSettingsFileName; }

ElementsSettings::ElementsSettings(std::filesystem::path file) : file_(std::move(file)) { reload(); }

std::string ElementsSettings::catalogueKey(const std::filesystem::path& catalogue) {
  std::error_code error;
  std::filesystem::path canonical = std::filesystem::weakly_canonical(std::filesystem::absolute(catalogue, error), error);
  if (error) canonical = catalogue.lexically_normal();
  return canonical.string();
}

void ElementsSettings::reload() {
  systems_.clear();
  problem_.clear();
  std::error_code error;
  if (!std::filesystem::exists(file_, error)) return;
  toml::table root;
  try {
    root = toml::parse_file(file_.string());
  } catch (const toml::parse_error& fault) {
    problem_ = damaged(file_, static_cast<long>(fault.source().begin.line),
                       "読めません（" + std::string(fault.description()) + "）");
    return;
  }
  const toml::node* node = root.get(kElementsTable);
  if (node == nullptr) return;
  const toml::table* table = node->as_table();
  if (table == nullptr) {
    problem_ = damaged(file_, static_cast<long>(node->source().begin.line), "elements は表で書いてください");
    return;
  }
  std::map<std::string, ElementsTime> systems;
  for (const auto& [key, value] : *table) {
    const std::optional<std::string> name = value.value<std::string>();
    const std::optional<ElementsTime> system = name ? parseElementsTime(*name) : std::nullopt;
    if (!system) {
      problem_ = damaged(file_, static_cast<long>(value.source().begin.line),
                         "時刻系は \"JD\"、\"HJD\"、\"BJD_TDB\" のどれかです");
      return;
    }
    systems.emplace(std::string(key.str()), *system);
  }
  systems_ = std::move(systems);
}

ElementsTime ElementsSettings::timeSystemOf(const std::filesystem::path& catalogue) const {
  const auto found = systems_.find(catalogueKey(catalogue));
  return found == systems_.end() ? ElementsTime::jd : found->second;
}

Refusal ElementsSettings::setTimeSystem(const std::filesystem::path& catalogue, ElementsTime system) {
  if (!problem_.empty()) {
    return "設定ファイルが壊れているため変更できません。直すか消してからやり直してください。\n" + problem_;
  }
  // Re-read what is there so that other tables of the file survive.
  toml::table root;
  std::error_code error;
  if (std::filesystem::exists(file_, error)) {
    try {
      root = toml::parse_file(file_.string());
    } catch (const toml::parse_error&) {
      reload();
      return "設定ファイルが壊れているため変更できません。\n" + problem_;
    }
  }
  std::map<std::string, ElementsTime> systems = systems_;
  const std::string key = catalogueKey(catalogue);
  if (system == ElementsTime::jd) {
    systems.erase(key);
  } else {
    systems[key] = system;
  }
  toml::table elements;
  for (const auto& [path, chosen] : systems) elements.insert(path, elementsTimeName(chosen));
  root.insert_or_assign(kElementsTable, std::move(elements));
  std::ostringstream text;
  text << "# Tenmirel の設定（要素の時刻系はカタログのパスごと）\n" << toml::toml_formatter(root) << '\n';
  if (Refusal failed = writeFileAtomically(file_, text.str())) return failed;
  systems_ = std::move(systems);
  return std::nullopt;
}

}  // namespace tenmirel::sky
