// The import's steps in order; each refusal stops it before anything is written.
#include "tools/orbeck-import/Import.h"

#include <chrono>
#include <fstream>

#include "orbeck/store/HostDataLoader.h"
#include "tools/orbeck-import/BookImporter.h"
#include "tools/orbeck-import/HostDataText.h"
#include "tools/orbeck-import/Sources.h"

namespace orbeck::import {
namespace {

int ApplyOptions(const ImportOptions& options, Company& company, std::string& error) {
  if (options.company) company.name = *options.company;
  if (options.dataId) company.dataId = *options.dataId;
  if (options.user) company.user = *options.user;
  if (options.closingDay) {
    if (*options.closingDay < 1 || *options.closingDay > 31) {
      error = "--closing-day: not a day from 1 to 31";
      return 0;
    }
    company.closingDay = *options.closingDay;
  }
  if (options.taxBasis) {
    if (*options.taxBasis == "excluded")
      company.taxBasis = TaxBasis::Excluded;
    else if (*options.taxBasis == "included")
      company.taxBasis = TaxBasis::Included;
    else if (*options.taxBasis == "none")
      company.taxBasis = TaxBasis::None;
    else {
      error = "--tax-basis: not excluded, included or none";
      return 0;
    }
  }
  for (auto [given, field, name] : {std::tuple{&options.periodStart, &company.periodStart, "--period-start"},
                                    std::tuple{&options.periodEnd, &company.periodEnd, "--period-end"}}) {
    if (!given->has_value()) continue;
    *field = ParseDate(**given);
    if (*field == 0) {
      error = std::string(name) + ": not a date (yyyy-mm-dd or yyyymmdd)";
      return 0;
    }
  }
  if (company.periodStart == 0) {
    error = "the fiscal period is not given: --period-start (or the map's company.periodStart)";
    return 0;
  }
  if (company.periodEnd == 0) {
    // A year from the start: the day before the same date a year later.
    int32_t next = company.periodStart + 10000;
    int y = next / 10000, m = next / 100 % 100, d = next % 100;
    if (--d == 0) {
      if (--m == 0) {
        m = 12;
        --y;
      }
      d = 31;
      while (!IsCalendarDate(y * 10000 + m * 100 + d)) --d;
    }
    company.periodEnd = y * 10000 + m * 100 + d;
  }
  if (company.periodEnd <= company.periodStart) {
    error = "the fiscal period ends before it starts";
    return 0;
  }
  std::string bytes;
  return Cp932Within(company.name, 259, "the company name", bytes, error);
}

std::filesystem::path TempDocument() {
  std::error_code ec;
  return std::filesystem::temp_directory_path(ec) /
         ("orbeck-import-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) +
          ".json");
}

int WriteDocument(const ImportedBooks& books, const Company& company, const std::filesystem::path& file,
                  std::string& error) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  if (out) WriteHostDataText(books, company, out);
  out.close();
  if (out.good()) return 1;
  std::error_code ec;
  std::filesystem::remove(file, ec);
  error = file.string() + ": cannot be written";
  return 0;
}

}  // namespace

int RunImport(const ImportOptions& options, std::ostream& explain, std::string& error) {
  AccountMap map;
  if (!options.map.empty() && ReadAccountMap(options.map, map, error) == 0) return 0;
  if (ApplyOptions(options, map.company, error) == 0) return 0;
  BookImporter importer(map);
  SourceRequest request{options.books, options.from, map.csv, options.timezone};
  if (ReadBooks(request, importer, error) == 0) return 0;
  if (options.explain) importer.Explain(explain);
  if (importer.Finish(error) == 0) return 0;
  if (options.json && WriteDocument(importer.Books(), map.company, *options.json, error) == 0) return 0;
  if (options.home) {
    std::filesystem::path temp = options.json ? *options.json : TempDocument();
    if (!options.json && WriteDocument(importer.Books(), map.company, temp, error) == 0) return 0;
    int loaded = orbeck::store::LoadHostDataFile(temp, *options.home, error);
    std::error_code ec;
    if (!options.json) std::filesystem::remove(temp, ec);
    if (loaded == 0) {
      error = "the host data refused: " + error;
      return 0;
    }
  }
  return 1;
}

}  // namespace orbeck::import
