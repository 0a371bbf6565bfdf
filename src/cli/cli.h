#pragma once
// tenmirel-cli: the command-line front end. Each subcommand drives the same form
// model and list logic as the windows.
#include <ostream>
#include <string>
#include <vector>

namespace tenmirel::cli {

// Runs the command line (without the program name); returns the exit status.
int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

int runPredict(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int runStars(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int runList(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int runToday(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int runSites(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int runNight(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int runSeason(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int runTom(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int runObs(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int runOc(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int runImport(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int runEdit(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace tenmirel::cli
