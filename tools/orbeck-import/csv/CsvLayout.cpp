// The CSV column map read from the account map's "csv" member, over the common layout.
#include "tools/orbeck-import/csv/CsvLayout.h"

namespace orbeck::import {
namespace {

CsvColumn Named(const char* name) { return CsvColumn{name, 0}; }

int ReadColumn(const nlohmann::json& value, const std::string& where, CsvColumn& column, std::string& error) {
  if (value.is_string() && !value.get<std::string>().empty()) {
    column = CsvColumn{value.get<std::string>(), 0};
    return 1;
  }
  if (value.is_number_integer() && value.get<int>() >= 1) {
    column = CsvColumn{"", value.get<int>()};
    return 1;
  }
  if (value.is_null()) {
    column = CsvColumn{};
    return 1;
  }
  error = "csv." + where + ": a column is a header text, a number from 1, or null for none";
  return 0;
}

int ReadSide(const nlohmann::json& side, const std::string& where, CsvSide& out, std::string& error) {
  if (!side.is_object()) {
    error = "csv.columns." + where + ": expected an object";
    return 0;
  }
  const std::pair<const char*, CsvColumn*> fields[] = {{"account", &out.account},
                                                       {"subAccount", &out.subAccount},
                                                       {"taxClass", &out.taxClass},
                                                       {"amount", &out.amount},
                                                       {"tax", &out.tax}};
  for (const auto& [key, value] : side.items()) {
    CsvColumn* target = nullptr;
    for (const auto& [name, column] : fields)
      if (key == name) target = column;
    if (target == nullptr) {
      error = "csv.columns." + where + "." + key + ": not a column of a side";
      return 0;
    }
    if (!ReadColumn(value, "columns." + where + "." + key, *target, error)) return 0;
  }
  return 1;
}

int ReadStrings(const nlohmann::json& value, const std::string& where, std::vector<std::string>& out,
                std::string& error) {
  out.clear();
  if (!value.is_array()) {
    error = "csv." + where + ": expected an array of texts";
    return 0;
  }
  for (const nlohmann::json& item : value) {
    if (!item.is_string()) {
      error = "csv." + where + ": expected an array of texts";
      return 0;
    }
    out.push_back(item.get<std::string>());
  }
  return 1;
}

int ReadColumns(const nlohmann::json& columns, CsvLayout& layout, std::string& error) {
  if (!columns.is_object()) {
    error = "csv.columns: expected an object";
    return 0;
  }
  for (const auto& [key, value] : columns.items()) {
    if (key == "debit" || key == "credit") {
      if (!ReadSide(value, key, key == "debit" ? layout.debit : layout.credit, error)) return 0;
      continue;
    }
    CsvColumn* target = key == "date"          ? &layout.date
                        : key == "slip"        ? &layout.slip
                        : key == "kind"        ? &layout.kind
                        : key == "description" ? &layout.description
                                               : nullptr;
    if (target == nullptr) {
      error = "csv.columns." + key + ": not a column of the layout";
      return 0;
    }
    if (!ReadColumn(value, "columns." + key, *target, error)) return 0;
  }
  return 1;
}

int ReadTaxClasses(const nlohmann::json& value, CsvLayout& layout, std::string& error) {
  if (!value.is_object()) {
    error = "csv.taxClasses: expected an object of class -> \"taxed\" or \"untaxed\"";
    return 0;
  }
  layout.taxClasses.clear();
  for (const auto& [name, kind] : value.items()) {
    if (kind != "taxed" && kind != "untaxed") {
      error = "csv.taxClasses." + name + ": expected \"taxed\" or \"untaxed\"";
      return 0;
    }
    layout.taxClasses[name] = kind == "taxed";
  }
  return 1;
}

int ReadOptions(const nlohmann::json& member, CsvLayout& layout, std::string& error) {
  for (const auto& [key, value] : member.items()) {
    if (key == "encoding") {
      if (value == "detect") {
        layout.encoding = CsvEncoding::Detect;
      } else if (value == "shift_jis") {
        layout.encoding = CsvEncoding::ShiftJis;
      } else if (value == "utf-8") {
        layout.encoding = CsvEncoding::Utf8;
      } else {
        error = "csv.encoding: expected \"detect\", \"shift_jis\" or \"utf-8\"";
        return 0;
      }
    } else if (key == "delimiter") {
      if (!value.is_string() || value.get<std::string>().size() != 1) {
        error = "csv.delimiter: expected one character";
        return 0;
      }
      layout.delimiter = value.get<std::string>()[0];
    } else if (key == "slipsPerDay") {
      if (!value.is_boolean()) {
        error = "csv.slipsPerDay: expected true or false";
        return 0;
      }
      layout.slipsPerDay = value.get<bool>();
    } else if (key == "header") {
      if (!value.is_boolean()) {
        error = "csv.header: expected true or false";
        return 0;
      }
      layout.header = value.get<bool>();
    } else if (key == "columns") {
      if (!ReadColumns(value, layout, error)) return 0;
    } else if (key == "startKinds" || key == "continueKinds") {
      if (!ReadStrings(value, key, key == "startKinds" ? layout.startKinds : layout.continueKinds, error))
        return 0;
    } else if (key == "taxClasses") {
      if (!ReadTaxClasses(value, layout, error)) return 0;
    } else {
      error = "csv." + key + ": not a member of the CSV layout";
      return 0;
    }
  }
  return 1;
}

int Named(const CsvColumn& column, bool header, const char* key, std::string& error) {
  if (!column.name.empty() && !header) {
    error = std::string("csv.columns.") + key + ": a column named by its header needs \"header\": true";
    return 0;
  }
  return 1;
}

}  // namespace

CsvLayout DefaultCsvLayout() {
  CsvLayout layout;
  layout.date = Named("日付");
  layout.slip = Named("伝票番号");
  layout.debit = {Named("借方勘定科目"), Named("借方補助科目"), Named("借方税区分"), Named("借方金額"),
                  Named("借方税額")};
  layout.credit = {Named("貸方勘定科目"), Named("貸方補助科目"), Named("貸方税区分"), Named("貸方金額"),
                   Named("貸方税額")};
  layout.description = Named("摘要");
  for (const char* untaxed : {"対象外", "不課税", "非課税", "非課税売上", "非課税仕入", "輸出売上"})
    layout.taxClasses[untaxed] = false;
  for (const char* taxed : {"課税売上10%", "課税売上8%(軽)", "課税売上8%", "課対仕入10%", "課対仕入8%(軽)",
                            "課対仕入8%", "課税仕入10%", "課税仕入8%(軽)"})
    layout.taxClasses[taxed] = true;
  return layout;
}

int ReadCsvLayout(const nlohmann::json& member, CsvLayout& layout, std::string& error) {
  layout = DefaultCsvLayout();
  if (member.is_null()) return 1;
  if (!member.is_object()) {
    error = "csv: expected an object";
    return 0;
  }
  // Without a header the default columns, all named by header text, mean nothing.
  if (member.contains("header") && member["header"] == false) {
    const std::map<std::string, bool> taxClasses = layout.taxClasses;
    layout = CsvLayout{};
    layout.taxClasses = taxClasses;
  }
  if (!ReadOptions(member, layout, error)) return 0;
  if (!layout.date.Mapped() || !layout.debit.account.Mapped() || !layout.debit.amount.Mapped() ||
      !layout.credit.account.Mapped() || !layout.credit.amount.Mapped()) {
    error = "csv.columns: the date and each side's account and amount must be mapped";
    return 0;
  }
  if (layout.kind.Mapped() && layout.startKinds.empty()) {
    error = "csv.startKinds: a kind column needs the kinds that open an entry";
    return 0;
  }
  const std::pair<const CsvColumn*, const char*> all[] = {{&layout.date, "date"},
                                                          {&layout.slip, "slip"},
                                                          {&layout.kind, "kind"},
                                                          {&layout.description, "description"},
                                                          {&layout.debit.account, "debit.account"},
                                                          {&layout.debit.subAccount, "debit.subAccount"},
                                                          {&layout.debit.taxClass, "debit.taxClass"},
                                                          {&layout.debit.amount, "debit.amount"},
                                                          {&layout.debit.tax, "debit.tax"},
                                                          {&layout.credit.account, "credit.account"},
                                                          {&layout.credit.subAccount, "credit.subAccount"},
                                                          {&layout.credit.taxClass, "credit.taxClass"},
                                                          {&layout.credit.amount, "credit.amount"},
                                                          {&layout.credit.tax, "credit.tax"}};
  for (const auto& [column, key] : all)
    if (!Named(*column, layout.header, key, error)) return 0;
  return 1;
}

}  // namespace orbeck::import
