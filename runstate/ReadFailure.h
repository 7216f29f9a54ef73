// The run's one failure record: what a run could not read, from the host or from its own
// files. Every layer notes into the same record, which the run driver hands to
// each through its constructor; the run names the first failure in its failure message.
// Empty while every read succeeded.
#pragma once

#include <string>

class ReadFailure {
 public:
  // what: code page 932 name of what could not be read, as the message shows it. A host
  // read that failed earlier without its caller looking is noted before it, as the first.
  // NoteHost: a read of the host's data failed (a fatal runtime status, the runtime's latest
  // recorded failure); Note: a failure of the program's own (a file, memory).
  void NoteHost(const std::string& what);
  void Note(const std::string& what);
  // The run's own check: notes a host read failure that the runtime recorded and no caller
  // noted. True when the record holds a failure.
  bool CheckRuntime();
  bool Failed() const { return !what_.empty(); }
  const std::string& What() const { return what_; }

 private:
  // Notes the runtime's unchecked failures among the first `failures` it recorded.
  void TakeRuntimeFailures(long failures);
  void Keep(const std::string& what, long runtimeFailures);

  std::string what_;
  long runtimeFailuresSeen_ = 0;  // the runtime's failures already accounted for
};

// True for a runtime status that means the host's data could not be read (the runtime's
// fatal statuses), as opposed to a normal "no such record" or end of rows.
bool IsReadFailure(long status);
