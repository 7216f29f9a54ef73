// The cursors a set object hands out: numbered from 1, each holding its own walk, and all
// forgotten when the store is attached again (a cursor of an earlier attach is no cursor).
// A program holds a handful of cursors at a time but opens one per lookup, millions in a
// ledger export: the table is a small vector searched from its end, whose slots are reused,
// so opening and releasing a cursor allocates nothing once the table has grown.
#pragma once

#include <algorithm>
#include <vector>

#include "orbeck/HostStore.h"

namespace orbeck {

template <typename Cursor>
class CursorTable {
 public:
  // A fresh, empty cursor; its number.
  long Open() {
    Refresh();
    const long number = ++last_;
    cursors_.push_back({number, Cursor{}});
    return number;
  }
  // The cursor of that number, or none.
  Cursor* Find(long number) {
    Refresh();
    auto found = Locate(number);
    return found == cursors_.end() ? nullptr : &found->cursor;
  }
  // False when there was no such cursor.
  bool Release(long number) {
    Refresh();
    auto found = Locate(number);
    if (found == cursors_.end()) return false;
    cursors_.erase(found);
    return true;
  }

 private:
  struct Slot {
    long number;
    Cursor cursor;
  };

  typename std::vector<Slot>::iterator Locate(long number) {
    auto found = std::find_if(cursors_.rbegin(), cursors_.rend(),
                              [number](const Slot& s) { return s.number == number; });
    return found == cursors_.rend() ? cursors_.end() : std::prev(found.base());
  }

  void Refresh() {
    const unsigned long current = HostStore::Session().Generation();
    if (generation_ != current) {
      cursors_.clear();
      generation_ = current;
    }
  }

  unsigned long generation_ = 0;
  long last_ = 0;
  std::vector<Slot> cursors_;
};

}  // namespace orbeck
