#include "cli/cli.h"

namespace tenmirel::cli {
namespace {

void printUsage(std::ostream& out) {
  out << "Usage: tenmirel-cli <command> [options]\n"
         "\n"
         "Predicts the extrema of variable stars for the site 139°00'E 35°N, local time UT+9h.\n"
         "\n"
         "Commands:\n"
         "  predict   the next extrema of one star (hand-typed elements or a catalogued star)\n"
         "  stars     list the stars of a catalogue file\n"
         "  list      the next N extrema of a catalogued star, filtered by hours and altitude\n"
         "  today     every catalogued star with an extremum in tonight's observing night\n"
         "\n"
         "Run 'tenmirel-cli <command> --help' for the options of a command.\n";
}

}  // namespace

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.empty()) {
    printUsage(err);
    return 2;
  }
  const std::string& command = args.front();
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  if (command == "--help" || command == "-h" || command == "help") {
    printUsage(out);
    return 0;
  }
  if (command == "predict") return runPredict(rest, out, err);
  if (command == "stars") return runStars(rest, out, err);
  if (command == "list") return runList(rest, out, err);
  if (command == "today") return runToday(rest, out, err);
  err << "tenmirel-cli: unknown command \"" << command << "\"\n\n";
  printUsage(err);
  return 2;
}

}  // namespace tenmirel::cli
