// The ledger lines' texts in large blocks (platform::LargeBlocks), which never move, so
// that a LedgerText and the shared table's keys stay valid until the texts are cleared.
#include "runstate/LedgerTexts.h"

#include <cstring>
#include <new>

#include "platform/LargeBlocks.h"

void LedgerTexts::Release::operator()(char* block) const { platform::FreeLargeBlock(block); }

bool LedgerTexts::Keep(std::string_view text, LedgerText& kept) {
  if (text.empty()) {
    kept = LedgerText();
    return true;
  }
  if (text.size() > kMaxBytes) return false;
  const std::size_t need = text.size() + 1;
  if (blocks_.empty() || used_ + need > platform::kLargeBlockBytes) {
    try {
      blocks_.reserve(blocks_.size() + 1);
    } catch (const std::bad_alloc&) {
      return false;
    }
    char* block = static_cast<char*>(platform::AllocateLargeBlock());
    if (block == nullptr) return false;
    blocks_.emplace_back(block);
    used_ = 0;
  }
  char* at = blocks_.back().get() + used_;
  at[0] = static_cast<char>(text.size());
  std::memcpy(at + 1, text.data(), text.size());
  used_ += need;
  kept = LedgerText(at);
  return true;
}

bool LedgerTexts::KeepShared(std::string_view text, LedgerText& kept) {
  if (const auto found = shared_.find(text); found != shared_.end()) {
    kept = found->second;
    return true;
  }
  if (!Keep(text, kept)) return false;
  try {
    shared_.emplace(kept.View(), kept);
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

void LedgerTexts::clear() {
  shared_.clear();
  blocks_.clear();
  used_ = 0;
}
