#pragma once
// The rule an IANA zone follows after the last transition its zone file lists
// (Debian's files stop in 2037): the footer's POSIX TZ string, read by the date
// library's Posix::time_zone. Without it every summer time after 2037 would be lost.
#include <date/tz.h>

#include <cstdint>
#include <memory>
#include <string>

namespace tenmirel::sky {

class ZoneFooterRule {
 public:
  // The rule of the system's zone file for an IANA name; nothing when the file has
  // no footer, or one the library cannot read (the last listed offset then stays).
  static std::shared_ptr<const ZoneFooterRule> ofZone(const std::string& name);
  // The rule of a TZ string in force after lastTransition; nothing when unreadable.
  static std::shared_ptr<const ZoneFooterRule> fromText(const std::string& rule, std::int64_t lastTransition);

  ~ZoneFooterRule();
  ZoneFooterRule(const ZoneFooterRule&) = delete;
  ZoneFooterRule& operator=(const ZoneFooterRule&) = delete;

  // Instants at or after this one (seconds since 1970 UT) follow the rule.
  std::int64_t lastTransition() const { return lastTransition_; }
  date::sys_info infoAt(date::sys_seconds instant) const;
  date::local_info infoAt(date::local_seconds local) const;

 private:
  struct Rule;
  ZoneFooterRule(std::unique_ptr<Rule> rule, std::int64_t lastTransition);
  std::unique_ptr<Rule> rule_;
  std::int64_t lastTransition_;
};

}  // namespace tenmirel::sky
