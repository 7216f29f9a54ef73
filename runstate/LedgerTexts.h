// The texts of the ledger lines. A line refers to each of its texts by a LedgerText, one
// pointer to a length byte that the bytes follow, so that a million lines hold no copies of
// their names and reading a text scans nothing. Names and dates are kept once however many
// lines name them; descriptions are packed one after another in large blocks.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <vector>

class LedgerText {
 public:
  LedgerText() = default;
  std::string_view View() const {
    return at_ == nullptr ? std::string_view() : std::string_view(at_ + 1, static_cast<unsigned char>(*at_));
  }
  // The same kept text (a shared text is kept once, so equal names compare equal).
  bool operator==(const LedgerText&) const = default;
  // Where the text is kept: the same for the same kept text, null for the empty one.
  const void* Identity() const { return at_; }

 private:
  friend class LedgerTexts;
  explicit LedgerText(const char* at) : at_(at) {}
  const char* at_ = nullptr;
};

class LedgerTexts {
 public:
  static constexpr std::size_t kMaxBytes = 255;

  LedgerTexts() = default;
  LedgerTexts(LedgerTexts&&) noexcept = default;
  LedgerTexts& operator=(LedgerTexts&&) noexcept = default;
  LedgerTexts(const LedgerTexts&) = delete;
  LedgerTexts& operator=(const LedgerTexts&) = delete;

  // Keeps a copy of text (the empty text needs none); false when it is longer than kMaxBytes
  // or no room can be had.
  bool Keep(std::string_view text, LedgerText& kept);
  // As Keep, but a text kept this way before is handed out again instead of copied.
  bool KeepShared(std::string_view text, LedgerText& kept);
  void clear();

 private:
  struct Release {
    void operator()(char* block) const;
  };
  std::vector<std::unique_ptr<char, Release>> blocks_;
  std::size_t used_ = 0;  // bytes taken of the last block
  std::unordered_map<std::string_view, LedgerText> shared_;
};
