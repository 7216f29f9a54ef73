// The choice of source: one line per kind in each table below; a source of its own goes in
// its own file.
#include "tools/orbeck-import/Sources.h"

#include "tools/orbeck-import/HledgerSource.h"
#include "tools/orbeck-import/csv/CsvBooksReader.h"
#include "tools/orbeck-import/gnucash/GnuCashBooksReader.h"
#include "tools/orbeck-import/gnucash/GnuCashDates.h"

namespace orbeck::import {
namespace {

struct Named {
  const char* name;
  SourceKind kind;
};
constexpr Named kNames[] = {
    {"hledger", SourceKind::Hledger}, {"csv", SourceKind::Csv}, {"gnucash", SourceKind::Gnucash}};

struct Extension {
  const char* extension;
  SourceKind kind;
};
constexpr Extension kExtensions[] = {
    {".journal", SourceKind::Hledger}, {".hledger", SourceKind::Hledger}, {".ledger", SourceKind::Hledger},
    {".j", SourceKind::Hledger},       {".json", SourceKind::Hledger},    {".csv", SourceKind::Csv},
    {".gnucash", SourceKind::Gnucash}, {".sqlite", SourceKind::Gnucash},
};

}  // namespace

int ChooseSource(const SourceRequest& request, SourceKind& kind, std::string& error) {
  if (!request.from.empty()) {
    for (const Named& named : kNames)
      if (request.from == named.name) {
        kind = named.kind;
        return 1;
      }
    error = "--from " + request.from + ": not a source (hledger, csv, gnucash)";
    return 0;
  }
  std::string extension = request.file.extension().string();
  for (const Extension& known : kExtensions)
    if (extension == known.extension) {
      kind = known.kind;
      return 1;
    }
  error =
      request.file.string() + ": the kind of books is not known by its name; say --from hledger|csv|gnucash";
  return 0;
}

int ReadBooks(const SourceRequest& request, BookSink& sink, std::string& error) {
  SourceKind kind = SourceKind::Hledger;
  if (ChooseSource(request, kind, error) == 0) return 0;
  switch (kind) {
    case SourceKind::Hledger:
      return request.file.extension() == ".json" ? ReadHledgerJson(request.file, sink, error)
                                                 : ReadHledgerJournal(request.file, sink, error);
    case SourceKind::Csv: {
      CsvLayout layout;
      if (!ReadCsvLayout(request.csvMap, layout, error)) return 0;
      return ReadCsvBooksFile(request.file.string(), layout, sink, error);
    }
    case SourceKind::Gnucash: {
      GnuCashOptions options;
      int minutes = 0;
      if (!request.timezone.empty()) {
        if (!ParseUtcOffset(request.timezone, minutes, error)) {
          error = "--timezone: " + error;
          return 0;
        }
        options.utcOffsetMinutes = minutes;
      }
      return ReadGnuCashBooks(request.file.string(), options, sink, error);
    }
  }
  error = request.file.string() + ": not a kind of books this build reads";
  return 0;
}

}  // namespace orbeck::import
