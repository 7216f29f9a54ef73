// The reader loop. Elements before the general ledger are kept as a tree (a few hundred
// lines even for a large company); the ledger's forms and rows go to the sink as soon as
// they are complete, and libxml2's reader frees each node once it has passed.
#include "tools/velmora-inspect/DocumentReader.h"

#include <libxml/xmlreader.h>
#include <libxml/xmlschemas.h>

#include <algorithm>
#include <cstring>
#include <optional>

#include "tools/velmora-inspect/InputFeed.h"
#include "tools/velmora-inspect/LedgerShape.h"

namespace inspect {
namespace {

// The schema compiled once per process.
xmlSchemaPtr Schema() {
  static xmlSchemaPtr schema = [] {
    xmlSchemaParserCtxtPtr parser =
        xmlSchemaNewMemParserCtxt(kSchemaText, static_cast<int>(std::strlen(kSchemaText)));
    xmlSchemaPtr parsed = parser != nullptr ? xmlSchemaParse(parser) : nullptr;
    if (parser != nullptr) xmlSchemaFreeParserCtxt(parser);
    return parsed;
  }();
  return schema;
}

// libxml2 prints notes of its own straight to standard error (an unfinished branch of its
// schema validator on element content in a simple type); every problem the reader reports
// comes through the structured handler.
void IgnoreGenericError(void*, const char*, ...) {}

int ReadCallback(void* context, char* buffer, int len) {
  return static_cast<InputFeed*>(context)->Read(buffer, len);
}
int CloseCallback(void*) { return 0; }

// Elements kept as the tree before the ledger: a few hundred in a statement document, a few
// thousand for a company with very many accounts. More is hostile input, refused before it
// costs time and memory.
constexpr long kMaxTreeElements = 50000;

struct Frame {
  std::string name;
  std::string label;
};

class Walker {
 public:
  Walker(xmlTextReaderPtr reader, InputFeed& feed, LedgerSink* sink, bool validating, ReadResult& result)
      : reader_(reader), feed_(feed), sink_(sink), validating_(validating), result_(result) {}

  // One node; false at the end of the input or when the reading stops.
  bool Step();
  void Conclude();
  void OnError(const xmlError* error);

 private:
  void Start(const char* name);
  void End();
  void LedgerStart(const std::string& name);
  void LedgerEnd(const Frame& ended);
  void Complain(long line, std::string message);
  void Refuse(long line, const std::string& why) {
    refusal_ = Finding{Severity::Error, line, Path(), "refused: " + why};
  }
  std::string Path() const;
  long NodeLine() const;

  xmlTextReaderPtr reader_;
  InputFeed& feed_;
  LedgerSink* sink_;
  bool validating_;
  ReadResult& result_;
  std::vector<Frame> frames_;
  std::vector<Element> open_;  // tree elements still open, REPORT first
  std::string text_;
  long textLine_ = 0;
  // The ledger: frames_ holds ledgerBase_ frames up to HJ00780S itself while inside it.
  bool inLedger_ = false;
  bool ledgerDone_ = false;
  std::size_t ledgerBase_ = 0;
  LedgerShape shape_;
  bool formAnnounced_ = false;
  LedgerForm form_;
  LedgerRow row_;
  long rowsInForm_ = 0;
  long forms_ = 0;
  int errorsShown_ = 0;
  int status_ = 1;
  long treeElements_ = 0;
  std::optional<Finding> refusal_;  // the reading stopped at input it will not read
};

long Walker::NodeLine() const {
  const long line = xmlGetLineNo(xmlTextReaderCurrentNode(reader_));
  // Element lines beyond 65534 are not kept by libxml2; the parser's position is near.
  return line > 0 && line < 65535 ? line : xmlTextReaderGetParserLineNumber(reader_);
}

std::string Walker::Path() const {
  std::string path;
  for (const Frame& f : frames_) {
    path += "/" + f.name;
    if (!f.label.empty()) path += "[" + f.label + "]";
  }
  return path;
}

void Walker::Complain(long line, std::string message) {
  // A broken document can repeat one complaint for every following node; the first
  // hundred say enough.
  if (++errorsShown_ > 100) return;
  result_.findings.push_back({Severity::Error, line, Path(), std::move(message)});
}

void Walker::LedgerStart(const std::string& name) {
  const int depth = static_cast<int>(frames_.size() + 1 - ledgerBase_);
  Frame frame{name, {}};
  if (depth == 1) {
    form_ = LedgerForm{};
    form_.index = ++forms_;
    formAnnounced_ = false;
    rowsInForm_ = 0;
  } else if (depth == 2 && name == "HJ00780S02") {
    if (!formAnnounced_ && sink_ != nullptr) sink_->BeginForm(form_);
    formAnnounced_ = true;
    row_ = LedgerRow{};
    frame.label = std::to_string(++rowsInForm_);
  }
  frames_.push_back(std::move(frame));
  if (validating_) {
    if (auto complaint = shape_.Start(name, depth)) Complain(NodeLine(), std::move(*complaint));
  }
}

// The frame has been taken off frames_ already: what ends is its own copy.
void Walker::LedgerEnd(const Frame& ended) {
  const std::string& name = ended.name;
  const int depth = static_cast<int>(frames_.size() + 1 - ledgerBase_);
  if (validating_) {
    if (auto complaint = shape_.End(name, depth, text_)) {
      frames_.push_back(ended);  // the complaint's path names the element that ended
      Complain(depth >= 2 && textLine_ > 0 ? textLine_ : NodeLine(), std::move(*complaint));
      frames_.pop_back();
    }
  }
  if (depth == 1) {
    if (sink_ != nullptr) {
      if (!formAnnounced_) sink_->BeginForm(form_);
      sink_->EndForm(form_);
    }
  } else if (depth == 2) {
    if (name == "HJ00780S02") {
      if (sink_ != nullptr) sink_->Row(form_, row_);
    } else if (name == "HJ00780S0010") {
      form_.account = text_;
      frames_.back().label = PathLabel(text_);
    } else if (name == "HJ00780S0020") {
      form_.section = text_;
    } else if (name == "HJ00780S0030") {
      form_.opening = text_;
    } else if (name == "HJ00780S0040") {
      form_.closing = text_;
      form_.closingLine = textLine_;
    }
  } else if (depth == 3) {
    if (name == "HJ00780S0050") {
      row_.lineNo = text_;
    } else if (name == "HJ00780S0060") {
      row_.date = text_;
    } else if (name == "HJ00780S0070") {
      row_.subAccount = text_;
    } else if (name == "HJ00780S0080") {
      row_.counterAccount = text_;
    } else if (name == "HJ00780S0090") {
      row_.counterSubAccount = text_;
    } else if (name == "HJ00780S0100") {
      row_.description = text_;
    } else if (name == "HJ00780S0110") {
      row_.amount = text_;
    } else if (name == "HJ00780S0120") {
      row_.balance = text_;
      row_.balanceLine = textLine_;
    }
  }
}

void Walker::Start(const char* name) {
  text_.clear();
  textLine_ = 0;
  if (inLedger_) {
    LedgerStart(name);
    return;
  }
  const long line = NodeLine();
  if (++treeElements_ > kMaxTreeElements) {
    Refuse(line, "more than " + WithSeparators(kMaxTreeElements) +
                     " elements before the general ledger (a statement document has a few hundred)");
    return;
  }
  Frame frame{name, {}};
  Element e;
  e.name = name;
  e.line = line;
  if (xmlTextReaderHasAttributes(reader_) == 1) {
    if (xmlChar* v = xmlTextReaderGetAttribute(reader_, BAD_CAST "Label")) {
      e.label = reinterpret_cast<const char*>(v);
      frame.label = PathLabel(*e.label);
      xmlFree(v);
    }
    if (xmlChar* v = xmlTextReaderGetAttribute(reader_, BAD_CAST "Amount")) {
      e.amount = reinterpret_cast<const char*>(v);
      xmlFree(v);
    }
  }
  frames_.push_back(std::move(frame));
  open_.push_back(std::move(e));
  if (ledgerDone_ && validating_) {
    Complain(line, "structure: Element '" + std::string(name) + "': This element is not expected.");
  }
  if (frames_.size() == 3 && frames_[1].name == "DATA" && frames_[2].name == "HJ00780S") {
    // From here the reader checks the ledger's shape itself (LedgerShape).
    inLedger_ = true;
    ledgerBase_ = frames_.size();
    if (validating_) xmlTextReaderSetSchema(reader_, nullptr);
    if (sink_ != nullptr) sink_->BeginLedger(open_[0], open_[1]);
  }
}

void Walker::End() {
  if (frames_.empty()) return;
  if (inLedger_ && frames_.size() > ledgerBase_) {
    const Frame ended = std::move(frames_.back());
    frames_.pop_back();
    LedgerEnd(ended);
    text_.clear();
    return;
  }
  if (inLedger_) {
    inLedger_ = false;
    ledgerDone_ = true;
  }
  frames_.pop_back();
  if (!open_.empty()) {
    Element done = std::move(open_.back());
    open_.pop_back();
    done.text = std::move(text_);
    if (open_.empty()) {
      result_.root = std::move(done);
    } else {
      open_.back().children.push_back(std::move(done));
    }
  }
  text_.clear();
}

void Walker::OnError(const xmlError* error) {
  if (feed_.Broken()) return;  // the decoder has said where the input broke
  std::string message = error->message != nullptr ? error->message : "unknown problem";
  while (!message.empty() && (message.back() == '\n' || message.back() == ' ')) message.pop_back();
  const bool schema = error->domain == XML_FROM_SCHEMASV;
  Complain(error->line > 0 ? error->line : xmlTextReaderGetParserLineNumber(reader_),
           (schema ? "structure: " : "not well-formed: ") + message);
}

bool Walker::Step() {
  if (status_ != 1) return false;
  status_ = xmlTextReaderRead(reader_);
  if (status_ != 1) return false;
  switch (xmlTextReaderNodeType(reader_)) {
    case XML_READER_TYPE_ELEMENT:
      Start(reinterpret_cast<const char*>(xmlTextReaderConstName(reader_)));
      if (refusal_) {
        status_ = -1;
        return false;
      }
      if (xmlTextReaderIsEmptyElement(reader_) == 1) End();
      break;
    case XML_READER_TYPE_END_ELEMENT:
      End();
      break;
    case XML_READER_TYPE_TEXT:
    case XML_READER_TYPE_CDATA:
      text_ += reinterpret_cast<const char*>(xmlTextReaderConstValue(reader_));
      textLine_ = xmlGetLineNo(xmlTextReaderCurrentNode(reader_));
      break;
    case XML_READER_TYPE_DOCUMENT_TYPE:
    case XML_READER_TYPE_ENTITY_REFERENCE:
      // The input guard refuses a declaration before the parser sees it; should one pass,
      // the reading stops here, before anything of it is used.
      Refuse(NodeLine(), "a document type declaration or an entity reference");
      status_ = -1;
      return false;
    default:
      break;
  }
  return true;
}

void Walker::Conclude() {
  if (feed_.Broken()) {
    const long broken = feed_.BrokenLine();
    std::erase_if(result_.findings, [broken](const Finding& f) { return f.line >= broken; });
  }
  result_.complete =
      status_ == 0 && !feed_.Broken() && open_.empty() && frames_.empty() && !result_.root.name.empty();
  if (refusal_) {
    // What the parser said on the refused line and after it is about what was not read.
    const long line = refusal_->line;
    std::erase_if(result_.findings, [line](const Finding& f) { return f.line >= line; });
    result_.findings.push_back(std::move(*refusal_));
  } else if (!result_.complete && !feed_.Broken() && !frames_.empty()) {
    // The input ended with elements still open: a file cut short. What libxml2 made of the
    // last, partial line says nothing more.
    const long last = feed_.LastLine();
    std::erase_if(result_.findings, [last](const Finding& f) { return f.line >= last; });
    std::erase_if(feed_.Findings(), [last](const Finding& f) { return f.line >= last; });
    result_.findings.push_back(
        {Severity::Error, last, Path(), "the file ends here, inside this element: it is cut short"});
  } else if (!result_.complete && result_.findings.empty() && feed_.Findings().empty()) {
    result_.findings.push_back({Severity::Error, feed_.LastLine(), "", "the document has no root element"});
  }
}

void StructuredError(void* context, xmlErrorPtr error) { static_cast<Walker*>(context)->OnError(error); }

}  // namespace

struct DocumentReader::State {
  explicit State(const Source& source) : feed(source) {}
  ~State() {
    if (reader != nullptr) xmlFreeTextReader(reader);
  }

  ReadResult result;
  InputFeed feed;
  xmlTextReaderPtr reader = nullptr;
  std::unique_ptr<Walker> walker;
};

DocumentReader::DocumentReader(const Source& source, const ReadOptions& options, LedgerSink* sink)
    : state_(std::make_unique<State>(source)) {
  ReadResult& result = state_->result;
  if (!state_->feed.Problem().empty()) {
    result.findings.push_back({Severity::Error, 0, "", "cannot be read: " + state_->feed.Problem()});
    return;
  }
  xmlSetGenericErrorFunc(nullptr, IgnoreGenericError);
  // No entity is substituted (no XML_PARSE_NOENT), no DTD loaded and nothing fetched from the
  // network; the input guard keeps the size of every node and the depth bounded.
  const int parseOptions = XML_PARSE_IGNORE_ENC | XML_PARSE_NOBLANKS | XML_PARSE_BIG_LINES | XML_PARSE_NONET |
                           XML_PARSE_COMPACT | XML_PARSE_HUGE;
  state_->reader =
      xmlReaderForIO(ReadCallback, CloseCallback, &state_->feed, source.path.c_str(), nullptr, parseOptions);
  if (state_->reader == nullptr) {
    result.findings.push_back({Severity::Error, 0, "", "the XML reader cannot be created"});
    return;
  }
  state_->walker = std::make_unique<Walker>(state_->reader, state_->feed, sink, options.validate, result);
  xmlTextReaderSetStructuredErrorHandler(state_->reader, StructuredError, state_->walker.get());
  if (options.validate) {
    if (xmlSchemaPtr schema = Schema();
        schema == nullptr || xmlTextReaderSetSchema(state_->reader, schema) != 0) {
      result.findings.push_back({Severity::Error, 0, "", "the document's XML Schema cannot be loaded"});
    }
  }
}

DocumentReader::~DocumentReader() = default;

bool DocumentReader::Step() { return state_->walker != nullptr && state_->walker->Step(); }

ReadResult DocumentReader::Finish() {
  if (state_->walker != nullptr) state_->walker->Conclude();
  if (state_->reader != nullptr) {
    xmlFreeTextReader(state_->reader);
    state_->reader = nullptr;
  }
  ReadResult result = std::move(state_->result);
  // The decoder's and the line ends' findings come first: they explain what follows.
  std::vector<Finding> all = std::move(state_->feed.Findings());
  all.insert(all.end(), result.findings.begin(), result.findings.end());
  result.findings = std::move(all);
  return result;
}

ReadResult ReadDocument(const Source& source, const ReadOptions& options, LedgerSink* sink) {
  DocumentReader reader(source, options, sink);
  while (reader.Step()) {
  }
  return reader.Finish();
}

}  // namespace inspect
