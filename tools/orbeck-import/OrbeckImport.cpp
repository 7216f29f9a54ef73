// orbeck-import BOOKS [--map MAP.json] (--json OUT | --home DIR | --explain) [options]
// Books of account (hledger journals or their JSON, journal CSV, GnuCash) into the
// simulated host's data: a host data document, or a store loaded straight from it.
#include <iostream>
#include <string>
#include <vector>

#include "tools/common/ToolOptions.h"
#include "tools/orbeck-import/Import.h"

namespace {

constexpr const char* kUsage =
    "Usage: orbeck-import BOOKS [--map MAP.json] [--from KIND] [--json OUT.json] [--home DIR]\n"
    "  or:  orbeck-import BOOKS [--map MAP.json] [--from KIND] --explain\n"
    "  or:  orbeck-import BOOKS ... [--company NAME] [--period-start DATE] [--period-end DATE]\n"
    "  or:  orbeck-import BOOKS ... [--closing-day N] [--tax-basis excluded|included|none]\n"
    "  or:  orbeck-import BOOKS ... [--user ID] [--data-id ID] [--timezone +HH:MM]\n"
    "  or:  orbeck-import --help | --version\n";

void PrintHelp() {
  std::cout << kUsage
            << "\n"
               "Reads books of account and an account map and writes the simulated Orbeck 21's\n"
               "host data: the document (--json) or a store loaded from it (--home), all or\n"
               "nothing. The sources, the map and every refusal are described in docs/import.md.\n"
               "\n"
               "Options:\n"
               "  --map MAP.json      the account map (sections, numbers, names, company)\n"
               "  --from KIND         the kind of books (hledger, csv or gnucash); default: by\n"
               "                      the file's extension\n"
               "                      (.journal .hledger .ledger .j: a journal hledger reads;\n"
               "                      .json: saved `hledger print -O json`; .csv; .gnucash)\n"
               "  --timezone +HH:MM   a GnuCash book's offset from UTC, needed for the dates of\n"
               "                      books written by old GnuCash versions\n"
               "  --json OUT.json     write the host data document\n"
               "  --home DIR          load it into DIR/orbeck.db (replaces an existing store)\n"
               "  --explain           print each source account -> section -> account code ->\n"
               "                      statement line, before anything is written\n"
               "  --company NAME, --period-start DATE, --period-end DATE (yyyy-mm-dd; the end\n"
               "  defaults to a year after the start), --closing-day N, --tax-basis B, --user ID,\n"
               "  --data-id ID        the company and its period, over the map's company\n"
               "  --help              print this help and exit\n"
               "  --version           print the version and exit\n"
               "\n"
               "Exit code: 0 done, 1 the books or the map were refused (nothing written), 2 usage\n"
               "error.\n";
}

int Usage() {
  std::cerr << kUsage;
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (tools::AnswerHelpOrVersion(args, "orbeck-import", VELMORA_VERSION, PrintHelp)) return 0;
  orbeck::import::ImportOptions options;
  std::vector<std::string> positional;
  const bool read = tools::OptionReader(tools::OptionReader::Unknown::UsageError)
                        .Flag("--explain", options.explain)
                        .Into("--map", options.map)
                        .Into("--from", options.from)
                        .Into("--timezone", options.timezone)
                        .Into("--json", options.json)
                        .Into("--home", options.home)
                        .Into("--company", options.company)
                        .Into("--period-start", options.periodStart)
                        .Into("--period-end", options.periodEnd)
                        .Into("--tax-basis", options.taxBasis)
                        .Into("--user", options.user)
                        .Into("--data-id", options.dataId)
                        .Value("--closing-day",
                               [&options](const std::string& value) {
                                 try {
                                   options.closingDay = std::stoi(value);
                                 } catch (const std::exception&) {
                                   return false;
                                 }
                                 return true;
                               })
                        .Read(args, 0, positional);
  if (!read) return Usage();
  if (positional.size() != 1 || (!options.json && !options.home && !options.explain)) return Usage();
  options.books = positional[0];
  std::string error;
  if (orbeck::import::RunImport(options, std::cout, error) == 0) {
    std::cerr << "orbeck-import: " << error << "\n";
    return 1;
  }
  return 0;
}
