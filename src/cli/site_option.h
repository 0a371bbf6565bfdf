#pragma once
// The observer's site and the elements' time system as every prediction command
// takes them: --site NAME, or a one-off site from --lon --lat [--height] --tz, else
// the default site of the sites file (the built-in one when there is none); and
// --elements jd|hjd|bjd, else the system remembered for the catalogue file, else JD.
#include <optional>
#include <ostream>
#include <set>
#include <string>

#include "cli/cli_args.h"
#include "prediction/frm_yohou_model.h"
#include "sky/elements_settings.h"
#include "sky/elements_time.h"
#include "sky/site.h"
#include "sky/site_store.h"

namespace tenmirel::cli {

// The name a site typed on the command line goes by.
inline constexpr const char* kOneOffSiteName = "座標指定の観測地";

// --site, --lon, --lat, --height, --tz: to add to a command's options with values.
const std::set<std::string>& siteOptionNames();
// --elements.
inline constexpr const char* kElementsOption = "--elements";
// A command's own options with values, together with the site and elements options.
std::set<std::string> withSiteOptions(std::set<std::string> names);

// A choice made from the options, or why none could be made.
template <typename T>
struct OptionChoice {
  std::optional<T> value;
  std::string error;          // when there is no value
  bool usageMistake = false;  // the options themselves are wrong (exit status 2), not the world
  std::string warning;        // said and gone past (a damaged settings file)
};

// A site from typed texts: coordinates as parseCoordinate reads them, a height in
// metres (empty means 0) and a zone; checked with validateSite.
OptionChoice<sky::Site> siteFromTexts(const std::string& name, const std::string& longitude,
                                      const std::string& latitude, const std::string& height, const std::string& zone);

// The site the options choose, looked up in the store.
OptionChoice<sky::Site> siteFromOptions(const ParsedArgs& parsed, const sky::SiteStore& store);
// The same with the sites file of the settings folder.
OptionChoice<sky::Site> siteFromOptions(const ParsedArgs& parsed);

// The elements' time system for the catalogue file (standard input has no setting).
OptionChoice<sky::ElementsTime> elementsFromOptions(const ParsedArgs& parsed, const std::string& cataloguePath,
                                                    const sky::ElementsSettings& settings);
OptionChoice<sky::ElementsTime> elementsFromOptions(const ParsedArgs& parsed, const std::string& cataloguePath);

// The site and the elements' time system the options choose, warnings said on
// err. Returns the exit status after saying what is wrong, or nothing when chosen.
struct SiteChoice {
  sky::Site site;
  sky::ElementsTime elements = sky::ElementsTime::jd;
};
std::optional<int> chooseSiteOptions(const ParsedArgs& parsed, const std::string& cataloguePath,
                                     const std::string& command, std::ostream& err, SiteChoice& chosen);

// Puts the chosen site and elements' time system into the form. Returns the exit
// status after saying what is wrong, or nothing when the form is ready.
std::optional<int> useSiteOptions(const ParsedArgs& parsed, const std::string& cataloguePath, FrmYohouModel& form,
                                  const std::string& command, std::ostream& err);

// The help lines of these options, for the commands' --help.
const char* siteOptionsHelp();

}  // namespace tenmirel::cli
