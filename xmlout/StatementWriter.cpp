// The document frame of StatementWriter: the temporary file and its replacement of the
// output, the declaration and root, the SYSTEM, BASIC and DATA sections and the progress
// steps between them.
#include "xmlout/StatementWriter.h"

#include <algorithm>
#include <string>

#include "platform/Cp932.h"
#include "platform/WinFs.h"
#include "runstate/ProgressWindow.h"
#include "xmlout/CleanName.h"
#include "xmlout/FieldText.h"
#include "xmlout/SupportInfoFile.h"
#include "xmlout/XmlElementWriter.h"

namespace {

constexpr const char* kDeclaration = "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n";
constexpr const char* kProgramVersionFallback = "21.00.0X";
constexpr int kProgressEnd = 10000;

// The full-width form of a long name is cut to this many bytes, always at a character
// boundary, so that no double-byte character is split.
constexpr std::size_t kLongNameSourceBytes = 31;
constexpr std::size_t kLongNameMaxBytes = 63;

// The fixed presentation patterns; only the cost-of-sales code depends on the data.
struct PatternLine {
  enum class Kind { Open, Value, Close } kind;
  const char* name;
  const char* value;  // Value lines; null for the cost-of-sales code
  int level;
};

constexpr PatternLine kPatternLines[] = {
    {PatternLine::Kind::Open, "PATTERN", nullptr, 2},  {PatternLine::Kind::Open, "BS", nullptr, 3},
    {PatternLine::Kind::Open, "CA", nullptr, 4},       {PatternLine::Kind::Value, "Doubtful", "A2", 5},
    {PatternLine::Kind::Close, "CA", nullptr, 4},      {PatternLine::Kind::Open, "PPE", nullptr, 4},
    {PatternLine::Kind::Value, "DepImp", "B4", 5},     {PatternLine::Kind::Close, "PPE", nullptr, 4},
    {PatternLine::Kind::Open, "IOA", nullptr, 4},      {PatternLine::Kind::Value, "Doubtful", "C2", 5},
    {PatternLine::Kind::Value, "DepImp", "D4", 5},     {PatternLine::Kind::Close, "IOA", nullptr, 4},
    {PatternLine::Kind::Close, "BS", nullptr, 3},      {PatternLine::Kind::Open, "PL", nullptr, 3},
    {PatternLine::Kind::Value, "Sales", "E3", 4},      {PatternLine::Kind::Value, "Cos", nullptr, 4},
    {PatternLine::Kind::Value, "Sga", "G1", 4},        {PatternLine::Kind::Close, "PL", nullptr, 3},
    {PatternLine::Kind::Close, "PATTERN", nullptr, 2},
};

int WritePattern(XmlElementWriter& xml, const char* costOfSales) {
  for (const PatternLine& line : kPatternLines) {
    bool written = false;
    switch (line.kind) {
      case PatternLine::Kind::Open:
        written = xml.StartElement(line.name, line.level);
        break;
      case PatternLine::Kind::Value:
        written = xml.WriteElement(line.name, line.value != nullptr ? line.value : costOfSales, line.level);
        break;
      case PatternLine::Kind::Close:
        written = xml.EndElement(line.name, line.level);
        break;
    }
    if (!written) return 0;
  }
  return 1;
}

}  // namespace

StatementWriter::StatementWriter(const EditionProfile& edition, const WriterInputs& inputs,
                                 ReadFailure& failure)
    : edition_(edition), inputs_(inputs), failure_(failure) {}

StatementWriter::~StatementWriter() = default;

const StatementLineList& StatementWriter::Lines() const {
  static const StatementLineList kNoLines;
  return inputs_.statementLines != nullptr ? *inputs_.statementLines : kNoLines;
}

void StatementWriter::Pulse() {
  if (inputs_.progress != nullptr) {
    inputs_.progress->Pulse();
  }
}

void StatementWriter::StepRange(int first, int last) {
  // A ledger run can leave the aggregator as far as 8400, which would carry the middle range
  // past the end of the scale: the caption would read more than 100 per cent and the last
  // range, from beyond the end, would never show 100. The ranges stop at the end instead.
  if (inputs_.progress != nullptr) {
    inputs_.progress->StepRange(static_cast<int16_t>(std::min(first, kProgressEnd)),
                                static_cast<int16_t>(std::min(last, kProgressEnd)));
  }
}

int StatementWriter::WriteDocument(const std::string& outputPath, int16_t functionId,
                                   const StDATAINFO& profile) {
  // The document is written beside its destination and moved over it only when complete, so
  // that a failed run leaves whatever stood at the output path untouched. A file that cannot
  // be created makes every write fail; the first section then fails.
  XmlElementWriter xml;
  xml.OpenTemporary(outputPath);
  xml.WriteRaw(kDeclaration);
  xml.StartElement("REPORT", 0);
  Pulse();

  bool written = WriteSystemSection(xml, functionId) == 1;
  if (written) {
    Pulse();
    written = WriteBasicSection(xml, profile) == 1;
  }
  if (written) {
    Pulse();
    written = WriteDataSection(xml, profile) == 1;
  }
  if (written) {
    Pulse();
  }
  // The closing tag is part of a complete document, so its failure fails the document too.
  written = xml.EndElement("REPORT", 0) && written;
  written = xml.Close() && written;

  const std::string& temporaryPath = xml.TemporaryPath();
  if (temporaryPath.empty()) return 0;
  if (written && platform::win::MoveFileReplace(temporaryPath, outputPath)) {
    return 1;
  }
  platform::win::DeleteFileA(temporaryPath);
  return 0;
}

int StatementWriter::WriteSystemSection(XmlElementWriter& xml, int16_t functionId) {
  if (!xml.StartElement("SYSTEM", 1)) return 0;
  if (!xml.WriteElement("GYOUMUPREFIX", "RC25", 2)) return 0;
  Pulse();
  if (!xml.WriteElement("VERSION", "1", 2)) return 0;
  Pulse();
  if (!xml.WriteElement("FUNCTIONID", std::to_string(static_cast<int>(functionId)), 2)) {
    return 0;
  }
  Pulse();
  if (!xml.WriteElement("CONNECTEDPROGRAMVER", kProgramVersion, 2)) return 0;
  Pulse();

  SupportInfoFile support(edition_.executableName, inputs_.messageOwner);
  std::string programName = support.ProductName();
  if (support.Failed()) {
    failure_.Note("SUPPORT.INF");
    return 0;
  }
  if (programName.empty()) {
    programName = platform::cp932::LiteralFromUtf8(edition_.programNameFallback);
  }
  if (!xml.WriteElement("PROGRAMNAME", programName, 2)) return 0;
  Pulse();
  std::string programVersion = support.ProductVersion();
  if (programVersion.empty()) {
    programVersion = kProgramVersionFallback;
  }
  if (!xml.WriteElement("PROGRAMVER", programVersion, 2)) return 0;
  Pulse();
  if (!xml.EndElement("SYSTEM", 1)) return 0;

  StepRange(inputs_.progressBase, inputs_.progressBase + 1000);
  return 1;
}

int StatementWriter::WriteBasicSection(XmlElementWriter& xml, const StDATAINFO& profile) {
  if (!xml.StartElement("BASIC", 1)) return 0;

  const std::string_view companyName = FieldText(profile.companyName);
  std::string fullWidthName = platform::cp932::ToFullWidth(companyName);
  if (companyName.size() >= kLongNameSourceBytes) {
    fullWidthName = platform::cp932::BoundedString(fullWidthName, kLongNameMaxBytes);
  }
  if (!xml.WriteElement("KOMONSAKINAME", fullWidthName, 2)) return 0;
  Pulse();
  if (!xml.WriteElement("JIGYOUNENDOFROM", std::to_string(profile.periodStart), 2)) return 0;
  Pulse();
  if (!xml.WriteElement("JIGYOUNENDOTO", std::to_string(profile.periodEnd), 2)) return 0;
  Pulse();

  if (WritePattern(xml, profile.patternFlag != 0 ? "F3" : "F1") != 1) return 0;
  Pulse();
  if (!xml.EndElement("BASIC", 1)) return 0;

  StepRange(inputs_.progressBase + 1000, inputs_.progressBase + 2000);
  return 1;
}

int StatementWriter::WriteDataSection(XmlElementWriter& xml, const StDATAINFO& profile) {
  if (!xml.StartElement("DATA", 1)) return 0;
  if (WriteBalanceSheet(xml) != 1) return 0;
  if (WriteIncomeStatement(xml) != 1) return 0;
  if (profile.patternFlag != 0 && WriteManufacturingCost(xml) != 1) return 0;
  if (WriteChangesInNetAssets(xml) != 1) return 0;
  if (inputs_.notesPresent == 1 && WriteNotesList(xml) != 1) return 0;
  if (WriteLedgerForms(xml) != 1) return 0;
  if (!xml.EndElement("DATA", 1)) return 0;

  StepRange(inputs_.progressBase + 2000, kProgressEnd);
  return 1;
}
