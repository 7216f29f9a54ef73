// velmora-make-company: writes a generated company of any size for the benchmark.
// Usage: velmora-make-company --journals N [--accounts N] [--seed S] [--interim]
//          [--lines-on-tax-accounts] [--demo DEMO.json] --out COMPANY.json [--journal FILE]
//          [--hledger FILE] [--csv FILE]
// --journal writes the books for ledger-cli (accounts "A" + code); --hledger and --csv the
// same books with the chart's names, as an hledger journal and a journal CSV.
// The counts go to standard output as "journals J lines L accounts A".
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "bench/CompanyGenerator.h"

int main(int argc, char** argv) {
  velmora::bench::CompanyOptions options;
  std::string demoPath = VELMORA_DEMO_COMPANY;
  std::string outPath;
  std::string journalPath;
  std::string hledgerPath;
  std::string csvPath;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--journals" && hasValue) {
      options.journals = std::atol(argv[++i]);
    } else if (arg == "--accounts" && hasValue) {
      options.accounts = std::atoi(argv[++i]);
    } else if (arg == "--seed" && hasValue) {
      options.seed = static_cast<std::uint32_t>(std::strtoul(argv[++i], nullptr, 10));
    } else if (arg == "--interim") {
      options.interimClosing = true;
    } else if (arg == "--lines-on-tax-accounts") {
      options.linesOnTaxAccounts = true;
    } else if (arg == "--demo" && hasValue) {
      demoPath = argv[++i];
    } else if (arg == "--out" && hasValue) {
      outPath = argv[++i];
    } else if (arg == "--journal" && hasValue) {
      journalPath = argv[++i];
    } else if (arg == "--hledger" && hasValue) {
      hledgerPath = argv[++i];
    } else if (arg == "--csv" && hasValue) {
      csvPath = argv[++i];
    } else {
      std::fprintf(stderr, "velmora-make-company: unknown argument %s\n", arg.c_str());
      return 2;
    }
  }
  if (outPath.empty() || options.journals < 1) {
    std::fprintf(stderr, "usage: velmora-make-company --journals N --out COMPANY.json [--journal FILE]\n");
    return 2;
  }
  std::ifstream demoFile(demoPath, std::ios::binary);
  const nlohmann::json demo = nlohmann::json::parse(demoFile, nullptr, false);
  if (demo.is_discarded()) {
    std::fprintf(stderr, "velmora-make-company: %s: not a JSON document\n", demoPath.c_str());
    return 1;
  }
  std::ofstream out(outPath, std::ios::binary);
  auto open = [](const std::string& path) {
    return path.empty() ? nullptr : std::make_unique<std::ofstream>(path, std::ios::binary);
  };
  const std::unique_ptr<std::ofstream> journal = open(journalPath);
  const std::unique_ptr<std::ofstream> hledger = open(hledgerPath);
  const std::unique_ptr<std::ofstream> csv = open(csvPath);
  velmora::bench::CompanyCounts counts;
  std::string error;
  if (!velmora::bench::WriteCompany(demo, options, out, {journal.get(), hledger.get(), csv.get()}, counts,
                                    error)) {
    std::fprintf(stderr, "velmora-make-company: %s\n", error.c_str());
    return 1;
  }
  std::printf("journals %ld lines %ld accounts %d\n", counts.journals, counts.lines, counts.accounts);
  return 0;
}
