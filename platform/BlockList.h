// An ordered list of trivially copyable records kept in large blocks (platform::LargeBlocks):
// appending never moves a record, and a million records cost a hundred blocks instead of an
// allocation per record or two (a deque of records this large keeps two per block). A list
// refilled again and again (a cursor's rows) can be emptied keeping its blocks, whose pages
// are then already in place.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/LargeBlocks.h"

template <typename Record>
class BlockList {
  static constexpr std::size_t kBlock = platform::kLargeBlockBytes / sizeof(Record);
  static_assert(std::is_trivially_copyable_v<Record> && std::is_trivially_destructible_v<Record>);

 public:
  BlockList() = default;
  // `count` records as Record{} makes them.
  explicit BlockList(std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) push_back(Record{});
  }

  BlockList(std::initializer_list<Record> records) { *this = records; }
  BlockList& operator=(std::initializer_list<Record> records) {
    clear();
    for (const Record& record : records) push_back(record);
    return *this;
  }
  BlockList(BlockList&& other) noexcept
      : blocks_(std::move(other.blocks_)), size_(std::exchange(other.size_, 0)) {}
  BlockList& operator=(BlockList&& other) noexcept {
    blocks_ = std::move(other.blocks_);
    size_ = std::exchange(other.size_, 0);
    return *this;
  }
  BlockList(const BlockList&) = delete;
  BlockList& operator=(const BlockList&) = delete;

  // Throws std::bad_alloc when a new block cannot be allocated (the list is unchanged).
  void push_back(const Record& record) {
    if (size_ == blocks_.size() * kBlock) {
      blocks_.reserve(blocks_.size() + 1);
      void* block = platform::AllocateLargeBlock();
      if (block == nullptr) throw std::bad_alloc();
      blocks_.emplace_back(static_cast<Record*>(block));
    }
    new (blocks_[size_ / kBlock].get() + size_ % kBlock) Record(record);
    ++size_;
  }

  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  Record& operator[](std::size_t i) { return blocks_[i / kBlock].get()[i % kBlock]; }
  const Record& operator[](std::size_t i) const { return blocks_[i / kBlock].get()[i % kBlock]; }
  void clear() {
    blocks_.clear();
    size_ = 0;
  }
  // Empties the list but keeps its blocks for the records appended next.
  void ClearKeepingBlocks() { size_ = 0; }
  void shrink_to_fit() { blocks_.shrink_to_fit(); }

  template <typename List, typename Value>
  class Iterator {
   public:
    Iterator(List* list, std::size_t at) : list_(list), at_(at) {}
    Value& operator*() const { return (*list_)[at_]; }
    Value* operator->() const { return &(*list_)[at_]; }
    Iterator& operator++() {
      ++at_;
      return *this;
    }
    bool operator==(const Iterator& other) const { return at_ == other.at_; }

   private:
    List* list_;
    std::size_t at_;
  };
  Iterator<BlockList, Record> begin() { return {this, 0}; }
  Iterator<BlockList, Record> end() { return {this, size_}; }
  Iterator<const BlockList, const Record> begin() const { return {this, 0}; }
  Iterator<const BlockList, const Record> end() const { return {this, size_}; }

 private:
  struct Release {
    void operator()(Record* block) const { platform::FreeLargeBlock(block); }
  };
  std::vector<std::unique_ptr<Record, Release>> blocks_;
  std::size_t size_ = 0;
};
