#include "sky/zone_footer_rule.h"

// ptz.h defines functions out of line: this is the one file that may include it.
// Under C++20 its unqualified hh_mm_ss meets std::chrono's as well as date's; the
// alias names date's alone.
namespace date {
template <class Duration>
using ptz_hh_mm_ss = hh_mm_ss<Duration>;
}  // namespace date
#define hh_mm_ss ptz_hh_mm_ss
#include <date/ptz.h>
#undef hh_mm_ss

#include <exception>
#include <fstream>
#include <iterator>
#include <map>
#include <mutex>

#include "sky/zone_file_tail.h"

namespace tenmirel::sky {
namespace {

// The folder the zone library reads its zones from.
constexpr const char* kZoneFolder = "/usr/share/zoneinfo/";
// Zone files are a few kilobytes; anything far larger is not one.
constexpr std::size_t kLargestZoneFileBytes = 1 << 20;

std::string zoneFileBytes(const std::string& name) {
  std::ifstream file(kZoneFolder + name, std::ios::binary);
  std::string bytes;
  char buffer[4096];
  while (file && bytes.size() <= kLargestZoneFileBytes) {
    file.read(buffer, sizeof buffer);
    bytes.append(buffer, static_cast<std::size_t>(file.gcount()));
  }
  return bytes.size() > kLargestZoneFileBytes ? std::string() : bytes;
}

}  // namespace

struct ZoneFooterRule::Rule {
  Posix::time_zone zone;
};

ZoneFooterRule::ZoneFooterRule(std::unique_ptr<Rule> rule, std::int64_t lastTransition)
    : rule_(std::move(rule)), lastTransition_(lastTransition) {}

ZoneFooterRule::~ZoneFooterRule() = default;

std::shared_ptr<const ZoneFooterRule> ZoneFooterRule::fromText(const std::string& rule, std::int64_t lastTransition) {
  if (rule.empty()) return nullptr;
  try {
    return std::shared_ptr<const ZoneFooterRule>(
        new ZoneFooterRule(std::make_unique<Rule>(Rule{Posix::time_zone(rule)}), lastTransition));
  } catch (const std::exception&) {
    return nullptr;
  }
}

std::shared_ptr<const ZoneFooterRule> ZoneFooterRule::ofZone(const std::string& name) {
  static std::mutex mutex;
  static std::map<std::string, std::shared_ptr<const ZoneFooterRule>> known;
  const std::lock_guard<std::mutex> lock(mutex);
  if (const auto found = known.find(name); found != known.end()) return found->second;
  std::shared_ptr<const ZoneFooterRule> rule;
  if (name.find("..") == std::string::npos) {
    if (const std::optional<ZoneFileTail> tail = readZoneFileTail(zoneFileBytes(name))) {
      rule = fromText(tail->rule, tail->lastTransition);
    }
  }
  known.emplace(name, rule);
  return rule;
}

date::sys_info ZoneFooterRule::infoAt(date::sys_seconds instant) const { return rule_->zone.get_info(instant); }

date::local_info ZoneFooterRule::infoAt(date::local_seconds local) const { return rule_->zone.get_info(local); }

}  // namespace tenmirel::sky
