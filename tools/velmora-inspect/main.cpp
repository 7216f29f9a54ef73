// velmora-inspect: check, show and compare statement documents.
//   velmora-inspect check FILE.xml
//   velmora-inspect show FILE.xml [--html OUT.html] [--ledger]
//   velmora-inspect diff OLD.xml NEW.xml
//   velmora-inspect --help | --version
// Exit codes: 0 the document holds together / the documents are equal / shown; 1 a check
// failed / the documents differ; 2 usage or a file that cannot be read.
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "tools/common/ToolOptions.h"
#include "tools/velmora-inspect/Checker.h"
#include "tools/velmora-inspect/Diff.h"
#include "tools/velmora-inspect/InputFeed.h"
#include "tools/velmora-inspect/Show.h"

namespace {

constexpr std::size_t kShownFindings = 1000;

constexpr const char* kUsage =
    "Usage: velmora-inspect check FILE.xml\n"
    "  or:  velmora-inspect show FILE.xml [--html OUT.html] [--ledger]\n"
    "  or:  velmora-inspect diff OLD.xml NEW.xml\n"
    "  or:  velmora-inspect --help | --version\n";

int Usage() {
  std::fputs(kUsage, stderr);
  return 2;
}

void PrintHelp() {
  std::cout << kUsage
            << "\n"
               "Checks, shows and compares the statement documents (Shift_JIS XML, root REPORT,\n"
               "format RC25) that the Velmora editions export; see inspect.md (docs/ of the\n"
               "source, share/doc/velmora when installed).\n"
               "\n"
               "  check   the bytes, the line ends, the structure (XML Schema docs/rc25.xsd) and\n"
               "          the figures: one line per failure with the element's path and both numbers\n"
               "  show    the statements as tables in the terminal (--ledger: every posting), or\n"
               "          as one self-contained HTML page with a table of contents (--html)\n"
               "  diff    what changed, appeared or disappeared: the statements' amounts by label\n"
               "          path, the notes' texts and the general ledger row by row\n"
               "\n"
               "Exit code: 0 the document holds together / shown / the documents are equal,\n"
               "1 a check failed / the documents differ, 2 a file cannot be read or a usage error.\n";
}

// A file that cannot be opened is a usage problem (exit 2), not a failed check.
bool Readable(const std::string& file) {
  const std::string problem = inspect::OpenProblem(file);
  if (problem.empty()) return true;
  std::cerr << file << ": cannot be read: " << problem << "\n";
  return false;
}

int Check(const std::string& file) {
  if (!Readable(file)) return 2;
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

// Problems that kept a document from being read whole, on standard error.
bool Unreadable(const std::string& file, const std::vector<inspect::Finding>& findings) {
  for (const inspect::Finding& f : findings) std::cerr << inspect::FormatFinding(file, f) << '\n';
  return !findings.empty();
}

int Show(const std::vector<std::string>& args) {
  std::string file, html;
  inspect::ShowOptions options;
  for (std::size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--html" && i + 1 < args.size()) {
      html = args[++i];
    } else if (args[i] == "--ledger") {
      options.ledgerRows = true;
    } else if (file.empty() && args[i].rfind("--", 0) != 0) {
      file = args[i];
    } else {
      return Usage();
    }
  }
  if (file.empty()) return Usage();
  const auto findings =
      html.empty() ? inspect::ShowInTerminal(file, options, std::cout) : inspect::ShowAsHtml(file, html);
  if (Unreadable(file, findings)) return 2;
  if (!html.empty()) std::cout << html << '\n';
  return 0;
}

int Diff(const std::string& oldFile, const std::string& newFile) {
  const inspect::DiffOutcome outcome = inspect::DiffDocuments(
      oldFile, newFile,
      [](const inspect::Difference& d) { std::cout << inspect::FormatDifference(d) << '\n'; });
  if (!outcome.readable) {
    Unreadable(oldFile, outcome.beforeProblems);
    Unreadable(newFile, outcome.afterProblems);
    return 2;
  }
  const std::int64_t total = outcome.statements + outcome.notes + outcome.ledger;
  if (total == 0) {
    std::cout << "the documents are equal\n";
    return 0;
  }
  std::cout << total << (total == 1 ? " difference: " : " differences: ") << outcome.statements
            << " in the statements, " << outcome.notes << " in the notes, " << outcome.ledger
            << " in the general ledger\n";
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (tools::AnswerHelpOrVersion(args, "velmora-inspect", VELMORA_VERSION, PrintHelp)) return 0;
  if (args.size() == 2 && args[0] == "check") return Check(args[1]);
  if (args.size() >= 2 && args[0] == "show") return Show(args);
  if (args.size() == 3 && args[0] == "diff") return Diff(args[1], args[2]);
  return Usage();
}
