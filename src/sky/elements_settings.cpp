#include "sky/elements_settings.h"

#include <toml++/toml.h>

#include <sstream>
#include <system_error>

#include "common/control_text.h"
#include "sky/config_files.h"
#include "sky/toml_texts.h"

namespace tenmirel::sky {
namespace {

constexpr const char* kSettingsFileName = "settings.toml";
constexpr const char* kElementsTable = "elements";

std::string damaged(const std::filesystem::path& file, long line, const std::string& what) {
  return "設定ファイル " + shownPath(file) + " の " + std::to_string(line) + " 行目: " + what +
         "。要素の時刻系はすべて JD として扱います（ファイルは書き換えません）。";
}

}  // namespace

std::filesystem::path ElementsSettings::defaultFile() { return configFolder() / kSettingsFileName; }

ElementsSettings::ElementsSettings(std::filesystem::path file) : file_(std::move(file)) { reload(); }

std::string ElementsSettings::catalogueKey(const std::filesystem::path& catalogue) {
  std::error_code error;
  std::filesystem::path canonical =
      std::filesystem::weakly_canonical(std::filesystem::absolute(catalogue, error), error);
  if (error) canonical = catalogue.lexically_normal();
  return canonical.string();
}

namespace {

constexpr const char* kSettingsFileWhat = "設定ファイル";

struct ReadSettings {
  toml::table root;
  std::map<std::string, ElementsTime> systems;
};

// The file's tables and its elements' time systems, or the message about what is
// wrong with it.
Checked<ReadSettings> readSettingsText(const std::filesystem::path& file, const ConfigText& current) {
  ReadSettings read;
  if (!current.exists) return Checked<ReadSettings>::success(std::move(read));
  try {
    read.root = toml::parse(current.text, file.string());
  } catch (const toml::parse_error& fault) {
    return Checked<ReadSettings>::failure(damaged(file, static_cast<long>(fault.source().begin.line),
                                                  "読めません（" + tomlFaultWords(fault.description()) + "）"));
  }
  const toml::node* node = read.root.get(kElementsTable);
  if (node == nullptr) return Checked<ReadSettings>::success(std::move(read));
  const toml::table* table = node->as_table();
  if (table == nullptr) {
    return Checked<ReadSettings>::failure(
        damaged(file, static_cast<long>(node->source().begin.line), "elements は表で書いてください"));
  }
  for (const auto& [key, value] : *table) {
    const std::optional<std::string> name = value.value<std::string>();
    const std::optional<ElementsTime> system = name ? parseElementsTime(*name) : std::nullopt;
    if (!system) {
      return Checked<ReadSettings>::failure(damaged(file, static_cast<long>(value.source().begin.line),
                                                    "時刻系は \"JD\"、\"HJD\"、\"BJD_TDB\" のどれかです"));
    }
    read.systems.emplace(std::string(key.str()), *system);
  }
  return Checked<ReadSettings>::success(std::move(read));
}

// toml++'s text of the tables, with every string as a basic string (its literal and
// multi-line forms do not survive every text); nothing when it would not read back.
std::optional<std::string> settingsText(const toml::table& root) {
  constexpr toml::format_flags kFlags =
      toml::toml_formatter::default_flags &
      ~(toml::format_flags::allow_literal_strings | toml::format_flags::allow_multi_line_strings |
        toml::format_flags::allow_real_tabs_in_strings);
  std::ostringstream text;
  text << "# Tenmirel の設定（要素の時刻系はカタログのパスごと）\n" << toml::toml_formatter(root, kFlags) << '\n';
  try {
    if (toml::parse(text.str()) != root) return std::nullopt;
  } catch (const toml::parse_error&) {
    return std::nullopt;
  }
  return text.str();
}

}  // namespace

void ElementsSettings::reload() {
  systems_.clear();
  problem_.clear();
  const Checked<ConfigText> current = readConfigFile(file_, kSettingsFileWhat);
  if (!current) {
    problem_ = current.message() + "。要素の時刻系はすべて JD として扱います（ファイルは書き換えません）。";
    return;
  }
  const Checked<ReadSettings> read = readSettingsText(file_, *current);
  if (!read) {
    problem_ = read.message();
    return;
  }
  systems_ = read->systems;
}

ElementsTime ElementsSettings::timeSystemOf(const std::filesystem::path& catalogue) const {
  const auto found = systems_.find(catalogueKey(catalogue));
  return found == systems_.end() ? ElementsTime::jd : found->second;
}

Refusal ElementsSettings::setTimeSystem(const std::filesystem::path& catalogue, ElementsTime system) {
  const std::string key = catalogueKey(catalogue);
  if (!isPlainText(key)) {
    return "カタログのパス " + withControlsReplaced(key) +
           " には制御文字か UTF-8 でない文字があるため、時刻系を覚えられません。";
  }
  std::map<std::string, ElementsTime> systems;
  const Refusal refused = changeConfigFile(file_, kSettingsFileWhat, [&](const ConfigText& current) {
    const Checked<ReadSettings> read = readSettingsText(file_, current);
    if (!read) {
      return Checked<std::string>::failure(
          "設定ファイルが壊れているため変更できません。直すか消してからやり直してください。\n" + read.message());
    }
    systems = read->systems;
    toml::table root = read->root;
    if (system == ElementsTime::jd) {
      systems.erase(key);
    } else {
      systems[key] = system;
    }
    toml::table elements;
    for (const auto& [path, chosen] : systems) elements.insert(path, elementsTimeName(chosen));
    root.insert_or_assign(kElementsTable, std::move(elements));
    const std::optional<std::string> text = settingsText(root);
    if (!text) {
      return Checked<std::string>::failure("設定ファイル " + shownPath(file_) +
                                           " のほかの表に書き戻せない値があるため、変更できません。");
    }
    return Checked<std::string>::success(*text);
  });
  if (refused) return refused;
  systems_ = std::move(systems);
  problem_.clear();
  return std::nullopt;
}

}  // namespace tenmirel::sky
