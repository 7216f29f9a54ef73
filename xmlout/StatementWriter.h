// Writes the whole XML document (Shift_JIS, root REPORT) from the engine's lists.
// The sections are written top-down through one XmlElementWriter; every operation returns 1
// on success and 0 at the first write that fails. Amounts are read in ten-thousandths of a
// yen and written in whole yen.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/WinTypes.h"
#include "runstate/EditionProfile.h"
#include "runstate/ReadFailure.h"
#include "runstate/StatementModel.h"
#include "runtime/Records.h"

class ProgressWindow;
class XmlElementWriter;

// What the writer reads, none of it owned; the run driver fills it before the writer is made.
struct WriterInputs {
  ProgressWindow* progress = nullptr;  // none: no progress shown
  const StatementLineList* statementLines = nullptr;
  const LedgerLineList* ledgerLines = nullptr;
  platform::HWND messageOwner = 0;  // owner of the writer's warnings; 0: no warnings shown
  int16_t changesKind = 1;
  int notesPresent = 0;
  const std::vector<std::string>* noteLines = nullptr;
  const uint8_t* noteDispFlags = nullptr;  // 50 entries
  uint16_t progressBase = 0;               // where the aggregation left the progress scale
};

class StatementWriter {
 public:
  // inputs and failure are the caller's and outlive the writer; what the writer cannot read
  // (the support file) is noted in failure.
  StatementWriter(const EditionProfile& edition, const WriterInputs& inputs, ReadFailure& failure);
  ~StatementWriter();
  StatementWriter(const StatementWriter&) = delete;
  StatementWriter& operator=(const StatementWriter&) = delete;

  // 1 when the whole document was written to outputPath (Windows form), 0 otherwise;
  // on failure whatever stood at outputPath before is unchanged.
  int WriteDocument(const std::string& outputPath, int16_t functionId, const StDATAINFO& profile);

  // The sections of the document, each written through an open element writer.
  int WriteSystemSection(XmlElementWriter& xml, int16_t functionId);
  int WriteBasicSection(XmlElementWriter& xml, const StDATAINFO& profile);
  int WriteDataSection(XmlElementWriter& xml, const StDATAINFO& profile);

  // The three statements and their building blocks.
  int WriteBalanceSheet(XmlElementWriter& xml);
  int WriteIncomeStatement(XmlElementWriter& xml);
  int WriteManufacturingCost(XmlElementWriter& xml);
  int WriteSectionStart(XmlElementWriter& xml, uint32_t code, const char* name, int level);
  int WriteItems(XmlElementWriter& xml, uint32_t mask, int level);
  int WriteTotalLine(XmlElementWriter& xml, uint32_t code, const char* name, int level);
  int WriteIncomeTaxItems(XmlElementWriter& xml, int level);
  // warn 1: each line is first reported in a warning box owned by messageOwner.
  int WriteUnclassifiedNoncurrent(XmlElementWriter& xml, int level, int warn);

  // The statement of changes in net assets; 0 also when retained earnings have amounts
  // but there is no net income line.
  int WriteChangesInNetAssets(XmlElementWriter& xml);

  // The notes list from the saved notes and the general-ledger forms.
  int WriteNotesList(XmlElementWriter& xml);
  bool IsNoteDisplayed(int32_t noteNumber) const;
  int WriteNoteText(int32_t noteNumber, int level, XmlElementWriter& xml);
  int WriteLedgerForms(XmlElementWriter& xml);
  int WriteLedgerRows(XmlElementWriter& xml);

  // One row of a statement written from a table: a section with its items, a section
  // written only when its own total line exists, a total element, or the income taxes.
  struct StatementRow {
    enum class Kind { Section, SectionWithOwnLine, Total, IncomeTaxes } kind;
    uint32_t code;
    const char* name;
  };

 private:
  // Writes root at level 2 with the rows at level 3 under it. 0 when a write fails.
  int WriteStatementRows(XmlElementWriter& xml, const char* root, std::span<const StatementRow> rows);

  // Writes the entry at index with its subtree; sets next to the first entry after that
  // subtree. 0 when a write fails.
  int WriteNoteEntry(std::size_t index, XmlElementWriter& xml, std::size_t& next);
  // Writes the entries of the subtree [first, end) whose level is level, each with its own
  // subtree. 0 when a write fails.
  int WriteNoteChildren(std::size_t first, std::size_t end, XmlElementWriter& xml);
  // The index of the note's "<ID>" line in noteLines, or noteLines->size() when none.
  std::size_t FindNoteRecord(int32_t noteNumber) const;
  int WriteItemLine(XmlElementWriter& xml, const StatementLine& line, int level);
  int WriteSection(XmlElementWriter& xml, uint32_t code, const char* name, int level);
  // The statement lines, empty when none are wired.
  const StatementLineList& Lines() const;
  void Pulse();
  void StepRange(int first, int last);

  const EditionProfile& edition_;
  const WriterInputs& inputs_;
  ReadFailure& failure_;
  std::size_t ledgerCursor_ = 0;  // position in ledgerLines
  // The ledger's names cleaned and escaped, by the kept text they come from.
  std::unordered_map<const void*, std::string> ledgerNames_;
};
