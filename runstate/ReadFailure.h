// What a run could not read, from the host or from its own files. The first failure is
// kept; the run driver names it in its failure message. Empty while every read succeeded.
#pragma once

#include <string>

class ReadFailure {
 public:
  // what: code page 932 name of what could not be read, as the message shows it.
  void Note(const std::string& what) {
    if (what_.empty()) what_ = what;
  }
  bool Failed() const { return !what_.empty(); }
  const std::string& What() const { return what_; }

 private:
  std::string what_;
};

// True for a runtime status that means the host's data could not be read (the runtime's
// fatal statuses), as opposed to a normal "no such record" or end of rows.
bool IsReadFailure(long status);
