// The cursors a set object hands out: numbered from 1, each holding its own walk, and all
// forgotten when the store is attached again (a cursor of an earlier attach is no cursor).
#pragma once

#include <map>

#include "orbeck/HostStore.h"

namespace orbeck {

template <typename Cursor>
class CursorTable {
 public:
  // A fresh, empty cursor; its number.
  long Open() {
    Refresh();
    const long number = ++last_;
    cursors_[number] = Cursor{};
    return number;
  }
  // The cursor of that number, or none.
  Cursor* Find(long number) {
    Refresh();
    auto found = cursors_.find(number);
    return found == cursors_.end() ? nullptr : &found->second;
  }
  // False when there was no such cursor.
  bool Release(long number) {
    Refresh();
    return cursors_.erase(number) == 1;
  }

 private:
  void Refresh() {
    const unsigned long current = HostStore::Session().Generation();
    if (generation_ != current) {
      cursors_.clear();
      generation_ = current;
    }
  }

  unsigned long generation_ = 0;
  long last_ = 0;
  std::map<long, Cursor> cursors_;
};

}  // namespace orbeck
