// orbeck-admin load FILE.json [--home DIR] | dump [--home DIR] [OUT.json]
// The host administrator's command for the simulated host's data store.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "orbeck/store/HostDataLoader.h"

namespace {

int Usage() {
  std::cerr << "usage: orbeck-admin load FILE.json [--home DIR]\n"
               "       orbeck-admin dump [--home DIR] [OUT.json]\n"
               "DIR defaults to $ORBECK_HOME, else ~/.local/share/orbeck\n";
  return 2;
}

int Fail(const std::string& message) {
  std::cerr << "orbeck-admin: " << message << "\n";
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) return Usage();
  std::string command = args[0];
  std::filesystem::path home = orbeck::store::DefaultHome();
  std::vector<std::string> positional;
  for (std::size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--home") {
      if (i + 1 == args.size()) return Usage();
      home = args[++i];
    } else {
      positional.push_back(args[i]);
    }
  }
  std::string error;
  if (command == "load") {
    if (positional.size() != 1) return Usage();
    if (orbeck::store::LoadHostDataFile(positional[0], home, error) == 0) return Fail(error);
    return 0;
  }
  if (command == "dump") {
    if (positional.size() > 1) return Usage();
    nlohmann::json document;
    if (orbeck::store::DumpHostData(home, document, error) == 0) return Fail(error);
    std::string text = document.dump(2) + "\n";
    if (positional.empty()) {
      std::cout << text << std::flush;
      return std::cout.good() ? 0 : Fail("cannot write to standard output");
    }
    std::ofstream out(positional[0], std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    return out.good() ? 0 : Fail(positional[0] + ": cannot be written");
  }
  return Usage();
}
