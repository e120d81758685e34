#include "app/CommandLine.h"

#include "app/Messages.h"

namespace app {

ParsedCommandLine ParseCommandLine(const std::vector<std::string> &arguments) {
  ParsedCommandLine parsed;
  Options &o = parsed.Values;
  const auto fail = [&](std::string message) {
    if (parsed.Error.empty()) parsed.Error = std::move(message);
  };
  for (const std::string &argument : arguments) {
    if (argument == "--list") {
      o.List = true;
    } else if (argument == "--watch") {
      o.Watch = true;
    } else if (argument == "--json") {
      o.Json = true;
    } else if (argument == "--help" || argument == "-h") {
      o.Help = true;
    } else if (argument == "--simulate") {
      o.Simulate = std::string();
    } else if (argument.starts_with("--simulate=")) {
      o.Simulate = argument.substr(11);
      if (o.Simulate->empty()) fail("--simulate= needs a file name");
    } else if (argument.starts_with("--trace=")) {
      o.Trace = argument.substr(8);
      if (o.Trace->empty()) fail("--trace= needs a file name");
    } else if (argument == "--trace") {
      fail("--trace needs a file name: --trace=FILE");
    } else {
      fail("unknown option: " + Quoted(argument));
    }
  }
  if ((o.Watch || o.Json) && !o.List)
    fail(std::string(o.Watch ? "--watch" : "--json") + " only goes with --list");
  return parsed;
}

std::string UsageText() {
  return "Usage: quelvane [--simulate[=FILE]] [--trace=FILE]\n"
         "       quelvane --list [--watch] [--json] [--simulate[=FILE]] [--trace=FILE]\n"
         "\n"
         "  --list            print every HID interface and whether it is a supported receiver\n"
         "  --watch           with --list: print the list again whenever it changes\n"
         "  --json            with --list: one JSON array per listing\n"
         "  --simulate[=FILE] run on simulated devices (built-in scenario or FILE)\n"
         "  --trace=FILE      write report traffic, scans and state changes to FILE\n"
         "  --help            show this text\n";
}

} // namespace app
