// The guard's scanner: a small state machine over the markup, carried across chunks. Text
// and quoted values are skipped with memchr, so the scan costs little beside parsing.
#include "tools/velmora-inspect/MarkupGuard.h"

#include <cstring>

namespace inspect {
namespace {

constexpr std::string_view kComment = "--";
constexpr std::string_view kCData = "[CDATA[";

std::string Bytes(std::size_t n) {
  std::string digits = std::to_string(n);
  for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
    digits.insert(static_cast<std::size_t>(at), ",");
  return digits + " bytes";
}

}  // namespace

std::optional<MarkupViolation> MarkupGuard::Violation(std::size_t offset, std::string message) {
  failed_ = true;
  return MarkupViolation{offset, std::move(message)};
}

std::optional<MarkupViolation> MarkupGuard::Scan(std::string_view chunk) {
  if (failed_) return MarkupViolation{0, "the input was refused before"};
  const char* const data = chunk.data();
  const std::size_t size = chunk.size();
  std::size_t start = 0;  // where the construct being read began in this chunk
  std::size_t i = 0;
  while (i < size) {
    switch (state_) {
      case State::Text: {
        const void* lt = std::memchr(data + i, '<', size - i);
        const std::size_t next =
            lt != nullptr ? static_cast<std::size_t>(static_cast<const char*>(lt) - data) : size;
        run_ += next - i;
        if (run_ > kMaxText)
          return Violation(
              i, "a text of more than " + Bytes(kMaxText) + " (a statement document's texts are short)");
        i = next;
        if (lt != nullptr) {
          start = i++;
          state_ = State::Open;
        }
        break;
      }
      case State::Open: {
        const char c = data[i];
        run_ = 1;
        endTag_ = false;
        if (c == '!') {
          bang_.clear();
          state_ = State::Bang;
          ++i;
        } else if (c == '?') {
          previous_ = 0;
          state_ = State::Instruction;
          ++i;
        } else {
          if (c == '/') {
            endTag_ = true;
            ++i;
          } else if (++depth_ > kMaxDepth) {
            return Violation(start, "elements nested more than " + std::to_string(kMaxDepth) +
                                        " deep (a statement document nests about ten)");
          }
          attributes_ = 0;
          previous_ = 0;
          state_ = State::Tag;
        }
        break;
      }
      case State::Tag: {
        const char c = data[i++];
        if (++run_ > kMaxTag) return Violation(start, "a tag of more than " + Bytes(kMaxTag));
        if (c == '"' || c == '\'') {
          quote_ = c;
          state_ = State::Quote;
        } else if (c == '=') {
          if (++attributes_ > kMaxAttributes)
            return Violation(start, "a tag with more than " + std::to_string(kMaxAttributes) +
                                        " attributes (a statement document's tags have at most two)");
        } else if (c == '>') {
          if ((endTag_ || previous_ == '/') && depth_ > 0) --depth_;
          run_ = 0;
          state_ = State::Text;
        }
        previous_ = c;
        break;
      }
      case State::Quote: {
        const void* q = std::memchr(data + i, quote_, size - i);
        const std::size_t next =
            q != nullptr ? static_cast<std::size_t>(static_cast<const char*>(q) - data) + 1 : size;
        run_ += next - i;
        if (run_ > kMaxTag) return Violation(start, "a tag of more than " + Bytes(kMaxTag));
        i = next;
        if (q != nullptr) {
          previous_ = quote_;
          state_ = State::Tag;
        }
        break;
      }
      case State::Bang: {
        bang_ += data[i];
        if (bang_ == kComment || bang_ == kCData) {
          closers_ = 0;
          state_ = bang_ == kComment ? State::Comment : State::CData;
        } else if (kComment.substr(0, bang_.size()) != bang_ && kCData.substr(0, bang_.size()) != bang_) {
          return Violation(start, "a document type or markup declaration (<!" + bang_ +
                                      "...): a statement document has none, and its entities are never read");
        }
        ++i;
        break;
      }
      case State::Comment:
      case State::CData:
      case State::Instruction: {
        const char c = data[i++];
        if (++run_ > kMaxText)
          return Violation(start, "a comment or section of more than " + Bytes(kMaxText));
        const char closer = state_ == State::Comment ? '-' : state_ == State::CData ? ']' : '?';
        if (c == '>' && (state_ == State::Instruction ? previous_ == '?' : closers_ >= 2)) {
          run_ = 0;
          state_ = State::Text;
        }
        closers_ = c == closer ? closers_ + 1 : 0;
        previous_ = c;
        break;
      }
    }
  }
  return std::nullopt;
}

}  // namespace inspect
