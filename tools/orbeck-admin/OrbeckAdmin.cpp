// orbeck-admin load FILE.json [--home DIR] | dump [--home DIR] [OUT.json] | check [--home DIR] |
// --help | --version
// The host administrator's command for the simulated host's data store.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "orbeck/store/HostDataLoader.h"
#include "orbeck/store/StoreFile.h"
#include "tools/common/ToolOptions.h"

namespace {

constexpr const char* kUsage =
    "Usage: orbeck-admin load FILE.json [--home DIR]\n"
    "  or:  orbeck-admin dump [--home DIR] [OUT.json]\n"
    "  or:  orbeck-admin check [--home DIR]\n"
    "  or:  orbeck-admin --help | --version\n";

int Usage() {
  std::cerr << kUsage << "DIR defaults to $ORBECK_HOME, else ~/.local/share/orbeck\n";
  return 2;
}

void PrintHelp() {
  std::cout << kUsage
            << "\n"
               "Builds the host data store of the simulated Orbeck 21 installation from a JSON\n"
               "document (load, which says in one line what it loaded) and writes a store back\n"
               "as JSON (dump; to standard output without OUT.json). The document format is\n"
               "described in host-data.md (docs/ of the source, share/doc/velmora when\n"
               "installed); the demo company is share/velmora/demo-company.json.\n"
               "check runs the full integrity check of the store and its seal: \"ok\", or one\n"
               "line per problem on standard error.\n"
               "\n"
               "Options:\n"
               "  --home DIR   the host folder that holds orbeck.db; default $ORBECK_HOME,\n"
               "               else ~/.local/share/orbeck\n"
               "  --help       print this help and exit\n"
               "  --version    print the version and exit\n"
               "\n"
               "Exit code: 0 done, 1 the document or the store was refused (or is damaged), 2 usage\n"
               "error.\n";
}

int Fail(const std::string& message) {
  std::cerr << "orbeck-admin: " << message << "\n";
  return 1;
}

std::string Counted(std::size_t count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (tools::AnswerHelpOrVersion(args, "orbeck-admin", VELMORA_VERSION, PrintHelp)) return 0;
  if (args.empty()) return Usage();
  const std::string& command = args[0];
  std::filesystem::path home = orbeck::store::DefaultHome();
  // Any other word is the command's: each command counts its own.
  std::vector<std::string> positional;
  if (!tools::OptionReader(tools::OptionReader::Unknown::Positional)
           .Into("--home", home)
           .Read(args, 1, positional)) {
    return Usage();
  }
  std::string error;
  if (command == "load") {
    if (positional.size() != 1) return Usage();
    orbeck::store::LoadSummary loaded;
    if (orbeck::store::LoadHostDataFile(positional[0], home, error, &loaded) == 0) return Fail(error);
    std::cout << "loaded " << Counted(loaded.companies, "company", "companies") << ", "
              << Counted(loaded.accounts, "account", "accounts") << ", "
              << Counted(loaded.journals, "journal", "journals") << ", "
              << Counted(loaded.lines, "line", "lines") << " into " << orbeck::store::StorePath(home).string()
              << "\n";
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
  if (command == "check") {
    if (!positional.empty()) return Usage();
    std::vector<std::string> problems;
    if (orbeck::store::CheckStore(orbeck::store::StorePath(home), problems) == 1) {
      std::cout << "ok\n";
      return 0;
    }
    for (const std::string& problem : problems) std::cerr << "orbeck-admin: " << problem << "\n";
    return 1;
  }
  return Usage();
}
