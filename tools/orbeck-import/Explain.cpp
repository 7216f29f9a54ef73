// --explain: where each source account lands, before anything is loaded.
#include "tools/orbeck-import/BookImporter.h"

namespace orbeck::import {
namespace {

const char* StatementOf(uint32_t character) {
  if ((character & 0x80000000u) != 0) return "貸借対照表";
  if ((character & 0x40000000u) != 0) return "損益計算書";
  return "製造原価報告書";
}

std::string LineOf(const Section& section) {
  if (std::string(section.key) == kRetainedKey) return "株主資本等変動計算書 / 繰越利益剰余金";
  for (const TotalRow& total : TotalRows())
    if (total.number == section.totalNumber)
      return std::string(StatementOf(section.character)) + " / " +
             (*total.secondName ? total.secondName : total.name);
  return StatementOf(section.character);
}

}  // namespace

void BookImporter::Explain(std::ostream& out) const {
  for (const std::string& path : order_) {
    const Known& known = known_.at(path);
    out << path << " → ";
    if (!known.placed) {
      out << "(not placed)\n";
      continue;
    }
    const HostAccount& host = books_.accounts[known.host];
    std::string name = known.sub == 0 ? host.name : host.name + " / " + host.subs[known.sub - 1].name;
    out << host.section->key << " → " << host.number * 10000 + known.sub << " " << name << " → "
        << LineOf(*host.section) << "  (" << known.rule << ")\n";
  }
}

}  // namespace orbeck::import
