// The SAX follower of hledger's JSON: a stack of the containers the reader is inside, each
// with its current member name, says what a value is. A transaction is handed to the sink
// when its object closes; an account the first time a posting names it.
#include <cstdio>
#include <set>
#include <string_view>
#include <vector>

#include <rapidjson/filereadstream.h>
#include <rapidjson/reader.h>

#include "tools/orbeck-import/HledgerSource.h"
#include "tools/orbeck-import/YenAmount.h"

namespace orbeck::import {
namespace {

struct Frame {
  bool object = false;
  std::string key;
  int index = -1;  // arrays: the element being read
};

SourceType TypeOfName(const std::string& path) {
  std::string top = path.substr(0, path.find(':'));
  for (char& c : top) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  if (top == "asset" || top == "assets") return SourceType::Asset;
  if (top == "liability" || top == "liabilities" || top == "debts") return SourceType::Liability;
  if (top == "equity") return SourceType::Equity;
  if (top == "revenue" || top == "revenues" || top == "income" || top == "incomes")
    return SourceType::Revenue;
  if (top == "expense" || top == "expenses") return SourceType::Expense;
  return SourceType::Unknown;
}

class Follower : public rapidjson::BaseReaderHandler<rapidjson::UTF8<>, Follower> {
 public:
  Follower(BookSink& sink, std::string fileName) : sink_(sink), fileName_(std::move(fileName)) {}

  std::string error;

  bool Null() { return Scalar(nullptr, 0, false, 0); }
  bool Bool(bool) { return Scalar(nullptr, 0, false, 0); }
  bool Int(int v) { return Scalar(nullptr, 0, true, v); }
  bool Uint(unsigned v) { return Scalar(nullptr, 0, true, v); }
  bool Int64(int64_t v) { return Scalar(nullptr, 0, true, v); }
  // A mantissa beyond int64 comes as a large unsigned or a double: no exact amount.
  bool Uint64(uint64_t v) {
    if (v <= static_cast<uint64_t>(INT64_MAX)) return Scalar(nullptr, 0, true, static_cast<int64_t>(v));
    return TooLarge();
  }
  bool Double(double) { return In("decimalMantissa") ? TooLarge() : Scalar(nullptr, 0, false, 0); }
  bool String(const char* s, rapidjson::SizeType n, bool) { return Scalar(s, n, false, 0); }
  bool Key(const char* s, rapidjson::SizeType n, bool) {
    stack_.back().key.assign(s, n);
    return true;
  }
  bool StartObject() {
    Advance();
    if (stack_.size() == 6 && Is(3, "pamount") && stack_[5].key == "aprice" && pending_.empty())
      pending_ = "a price or cost (only yen without prices is imported)";
    stack_.push_back(Frame{true, "", -1});
    if (stack_.size() == 2) {
      transaction_ = Transaction{};
      pending_.clear();
      sourceName_.clear();
      line_ = 0;
    }
    if (PostingLevel()) posting_ = Posting{};
    if (AmountLevel()) {
      commodity_.clear();
      mantissa_ = 0;
      places_ = 0;
    }
    return true;
  }
  bool EndObject(rapidjson::SizeType) {
    bool ok = true;
    if (AmountLevel()) ok = EndAmount();
    if (ok && PostingLevel()) ok = EndPosting();
    if (ok && stack_.size() == 2) ok = EndTransaction();
    stack_.pop_back();
    return ok;
  }
  bool StartArray() {
    Advance();
    stack_.push_back(Frame{false, "", -1});
    return true;
  }
  bool EndArray(rapidjson::SizeType) {
    if (stack_.size() == 6 && Is(3, "ptags")) EndTag();
    stack_.pop_back();
    return true;
  }

 private:
  BookSink& sink_;
  std::string fileName_;
  std::vector<Frame> stack_;
  Transaction transaction_;
  Posting posting_;
  std::string tagName_, tagValue_;
  SourceType postingType_ = SourceType::Unknown;
  std::string commodity_;
  int64_t mantissa_ = 0;
  int places_ = 0;
  int line_ = 0;
  std::string sourceName_;
  std::string pending_;  // a fault found before the transaction's line is known
  std::set<std::string> accounts_;
  std::vector<SourceAccount> newAccounts_;

  bool TooLarge() {
    if (pending_.empty()) pending_ = "an amount too large in " + posting_.account;
    Advance();
    return true;
  }

  bool Fail(const std::string& what) {
    error = Where() + what;
    return false;
  }
  std::string Where() const {
    return transaction_.origin.empty() ? fileName_ + ": " : transaction_.origin + ": ";
  }
  // True when the frame at `depth` (counted from the top array, 0) is an object member `key`.
  bool Is(std::size_t depth, const char* key) const {
    return stack_.size() > depth && stack_[depth].object && stack_[depth].key == key;
  }
  bool In(const char* key) const {
    return !stack_.empty() && stack_.back().object && stack_.back().key == key;
  }
  bool PostingLevel() const { return stack_.size() == 4 && Is(1, "tpostings"); }
  bool AmountLevel() const { return stack_.size() == 6 && Is(1, "tpostings") && Is(3, "pamount"); }
  void Advance() {
    if (!stack_.empty() && !stack_.back().object) ++stack_.back().index;
  }

  bool Scalar(const char* s, std::size_t n, bool isInt, int64_t v) {
    Advance();
    std::size_t depth = stack_.size();
    if (depth == 2) {
      if (s == nullptr) return true;
      std::string text(s, n);
      const std::string& key = stack_[1].key;
      if (key == "tdate") return Date(text);
      if (key == "tcode") transaction_.slip = text;
      if (key == "tdescription") transaction_.description = text;
      return true;
    }
    if (depth == 4 && Is(1, "tsourcepos") && stack_[2].index == 0) {
      if (stack_[3].key == "sourceLine" && isInt) line_ = static_cast<int>(v);
      if (stack_[3].key == "sourceName" && s != nullptr) sourceName_.assign(s, n);
      return true;
    }
    if (depth == 4 && Is(1, "tpostings") && stack_[3].key == "paccount" && s != nullptr) {
      posting_.account.assign(s, n);
      return true;
    }
    // An unbalanced virtual posting, "(account)", balances against nothing: the books
    // would not add up on the host.
    if (depth == 4 && Is(1, "tpostings") && stack_[3].key == "ptype" && s != nullptr &&
        std::string_view(s, n) == "VirtualPosting" && pending_.empty()) {
      pending_ = "a virtual posting in parentheses, " + posting_.account + ", which balances against nothing";
      return true;
    }
    if (depth == 6 && Is(1, "tpostings") && Is(3, "ptags") && s != nullptr) {
      (stack_[5].index == 0 ? tagName_ : tagValue_).assign(s, n);
      return true;
    }
    if (AmountLevel() && stack_[5].key == "acommodity" && s != nullptr) {
      commodity_.assign(s, n);
      return true;
    }
    if (stack_.size() == 7 && Is(1, "tpostings") && Is(3, "pamount") && Is(5, "aquantity") && isInt) {
      if (stack_[6].key == "decimalMantissa") mantissa_ = v;
      if (stack_[6].key == "decimalPlaces") places_ = static_cast<int>(v);
    }
    return true;
  }

  bool Date(const std::string& text) {
    int y = 0, m = 0, d = 0;
    char tail = 0;
    if (std::sscanf(text.c_str(), "%4d-%2d-%2d%c", &y, &m, &d, &tail) != 3)
      pending_ = "a date not yyyy-mm-dd";
    transaction_.date = y * 10000 + m * 100 + d;
    return true;
  }

  void EndTag() {
    if (tagName_ == "type") postingType_ = TypeOfTag(tagValue_);
    tagName_.clear();
    tagValue_.clear();
  }

  bool EndAmount() {
    if (!pending_.empty()) return true;
    if (!IsYen(commodity_)) {
      pending_ = "the currency \"" + commodity_ + "\" (only yen is imported)";
      return true;
    }
    int64_t value = 0;
    std::string why;
    if (TenThousandths(mantissa_, places_, value, why) == 0) pending_ = why + " in " + posting_.account;
    posting_.amount += value;
    return true;
  }

  bool EndPosting() {
    if (accounts_.insert(posting_.account).second) {
      SourceAccount account;
      account.path = posting_.account;
      account.type = postingType_ != SourceType::Unknown ? postingType_ : TypeOfName(posting_.account);
      newAccounts_.push_back(std::move(account));
    }
    postingType_ = SourceType::Unknown;
    transaction_.postings.push_back(std::move(posting_));
    posting_ = Posting{};
    return true;
  }

  bool EndTransaction() {
    transaction_.origin = sourceName_ + ":" + std::to_string(line_);
    if (!pending_.empty()) return Fail(pending_);
    std::string why;
    for (SourceAccount& account : newAccounts_) {
      account.origin = transaction_.origin;
      if (sink_.Take(account, why) == 0) {
        error = why;
        return false;
      }
    }
    newAccounts_.clear();
    for (Posting& posting : transaction_.postings) posting.origin = transaction_.origin;
    if (sink_.Take(transaction_, why) == 0) {
      error = why;
      return false;
    }
    return true;
  }
};

}  // namespace

SourceType TypeOfTag(const std::string& value) {
  if (value.empty()) return SourceType::Unknown;
  switch (value[0]) {
    case 'A':
    case 'a':
    case 'C':
    case 'c':
      return SourceType::Asset;
    case 'L':
    case 'l':
      return SourceType::Liability;
    case 'E':
    case 'e':
    case 'V':
    case 'v':
      return SourceType::Equity;
    case 'R':
    case 'r':
      return SourceType::Revenue;
    case 'X':
    case 'x':
      return SourceType::Expense;
    default:
      return SourceType::Unknown;
  }
}

int ReadHledgerJson(const std::filesystem::path& file, BookSink& sink, std::string& error) {
  std::FILE* in = std::fopen(file.string().c_str(), "rb");
  if (in == nullptr) {
    error = file.string() + ": cannot be read";
    return 0;
  }
  std::vector<char> buffer(1 << 16);
  rapidjson::FileReadStream stream(in, buffer.data(), buffer.size());
  Follower follower(sink, file.string());
  rapidjson::Reader reader;
  rapidjson::ParseResult result = reader.Parse<rapidjson::kParseValidateEncodingFlag>(stream, follower);
  std::fclose(in);
  if (result) return 1;
  error = !follower.error.empty()
              ? follower.error
              : file.string() + ": not hledger's JSON (byte " + std::to_string(result.Offset()) + ")";
  return 0;
}

}  // namespace orbeck::import
