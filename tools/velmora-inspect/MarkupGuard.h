// Bounds on the markup of a document, enforced on the decoded text before libxml2 parses
// it: no document type declaration (its entities are never expanded, external ones never
// loaded), a limited nesting depth, a limited number of attributes per tag and limited
// sizes of tags, texts, comments and processing instructions. A statement document stays far
// inside every bound; hostile input meets one at once, so libxml2 never spends time or
// memory on it (its attribute checks grow with the square of their count).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace inspect {

struct MarkupViolation {
  std::size_t offset = 0;  // of the first byte the parser must not see, within the chunk
  std::string message;
};

class MarkupGuard {
 public:
  static constexpr int kMaxDepth = 64;
  static constexpr int kMaxAttributes = 16;
  static constexpr std::size_t kMaxTag = 64 * 1024;
  static constexpr std::size_t kMaxText = 1024 * 1024;

  // Scans the next chunk of UTF-8 text; the first violation, after which nothing is scanned.
  std::optional<MarkupViolation> Scan(std::string_view chunk);

 private:
  enum class State { Text, Open, Tag, Quote, Bang, Comment, CData, Instruction };
  std::optional<MarkupViolation> Violation(std::size_t offset, std::string message);

  State state_ = State::Text;
  std::size_t run_ = 0;  // bytes of the construct being read
  int depth_ = 0;
  int attributes_ = 0;
  bool endTag_ = false;
  char quote_ = 0;
  char previous_ = 0;  // the byte before, inside a tag: '/' before '>' closes an empty element
  int closers_ = 0;    // '-' or ']' just seen inside a comment or CDATA section
  std::string bang_;   // the bytes after "<!", until they say what follows
  bool failed_ = false;
};

}  // namespace inspect
