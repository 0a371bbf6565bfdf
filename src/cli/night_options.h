#pragma once
// The options night and season share: the night's window, the filters, the
// secondary minima and the largest uncertainty, and the output's format.
#include <optional>
#include <ostream>
#include <set>
#include <string>

#include "cli/cli_args.h"
#include "cli/site_option.h"
#include "sky/night_plan.h"
#include "sky/site_zone.h"

namespace tenmirel::cli {

// The names taking a value, besides the site's, --catalogue and the command's own.
std::set<std::string> nightOptionNames();
std::set<std::string> nightFlagNames();

// The help lines of those options, from --sun-below to --open.
std::string nightOptionsHelp();

// The filters and the window from the command line into options; a message
// naming the option otherwise. Without --around a minimum of a star whose memo
// gives an eclipse duration is checked over its whole eclipse.
std::optional<std::string> readNightOptions(const ParsedArgs& parsed, sky::NightOptions& options);

// text, csv, json or ics, or an .xlsx path with --open; a message otherwise.
std::optional<std::string> checkOutputOptions(const ParsedArgs& parsed);

// The site and elements' time system the options choose, with the site's clock;
// the elements' system goes into options. Returns the exit status after saying
// what is wrong, or nothing when chosen.
struct NightSiteChoice {
  SiteChoice chosen;
  std::optional<sky::SiteZone> zone;
};
std::optional<int> chooseNightSite(const ParsedArgs& parsed, const std::string& command, std::ostream& err,
                                   sky::NightOptions& options, NightSiteChoice& choice);

// The memo warnings of a plan, one line each, to the error stream.
void printMemoWarnings(const std::string& command, const sky::NightPlan& plan, std::ostream& err);

}  // namespace tenmirel::cli
