// velmora-inspect: check, show and compare statement documents.
//   velmora-inspect check FILE.xml
//   velmora-inspect show FILE.xml [--html OUT.html] [--ledger]
//   velmora-inspect diff OLD.xml NEW.xml
// Exit codes: 0 the document holds together / the documents are equal / shown; 1 a check
// failed / the documents differ; 2 usage or a file that cannot be read.
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "tools/velmora-inspect/Checker.h"

namespace {

constexpr std::size_t kShownFindings = 1000;

int Usage() {
  std::fputs(
      "usage: velmora-inspect check FILE.xml\n"
      "       velmora-inspect show FILE.xml [--html OUT.html] [--ledger]\n"
      "       velmora-inspect diff OLD.xml NEW.xml\n",
      stderr);
  return 2;
}

int Check(const std::string& file) {
  const std::vector<inspect::Finding> findings = inspect::CheckDocument(file);
  std::size_t shown = 0;
  for (const inspect::Finding& f : findings) {
    if (shown++ == kShownFindings) {
      std::cout << file << ": " << findings.size() - kShownFindings << " further findings not shown\n";
      break;
    }
    std::cout << inspect::FormatFinding(file, f) << '\n';
  }
  if (inspect::HasErrors(findings)) return 1;
  std::cout << file << ": the document holds together\n";
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 2 && args[0] == "check") return Check(args[1]);
  return Usage();
}
