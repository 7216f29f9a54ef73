// The journals taken while the document is read go into the new file on a writer thread,
// in batches through a short queue: the reader waits only when the writer is a whole queue
// behind. The rest follows on the caller's thread once the writer has caught up: one
// connection, one transaction, used by one thread at a time.
#include "orbeck/store/StoreWriter.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

#include "orbeck/StoreSeal.h"
#include "orbeck/store/MemberColumns.h"
#include "orbeck/store/PostingRows.h"
#include "orbeck/store/StoreInserts.h"
#include "orbeck/store/StoreReplacement.h"
#include "orbeck/store/StoreSchema.h"

namespace orbeck::store {
namespace {

constexpr std::size_t kBatchJournals = 2048;
constexpr std::size_t kQueuedBatches = 4;

// Journals of one data record, copied: the reader's own records move on as it reads. The
// copies are kept from batch to batch, so that the lines' texts reuse their buffers.
struct JournalBatch {
  std::size_t dataIndex = 0;
  std::string dataId;
  std::vector<JournalRecord> journals;  // without their lines, which are in `lines`
  std::size_t journalCount = 0;
  std::vector<JournalLineRecord> lines;
  std::size_t lineCount = 0;
  struct LineKey {
    int32_t journalId = 0;
    int64_t lineNo = 0;
  };
  std::vector<LineKey> keys;  // of lines[0 .. lineCount)

  bool Empty() const { return journalCount == 0; }

  void Add(const JournalRecord& journal) {
    if (journalCount == journals.size()) journals.emplace_back();
    members::CopyFields<members::kJournalMembers>(journal, journals[journalCount++]);
    int64_t lineNo = 0;
    for (const JournalLineRecord& line : journal.lines) {
      if (lineCount == lines.size()) lines.emplace_back();
      lines[lineCount++] = line;
      keys.push_back({journal.id, ++lineNo});
    }
  }
  // The rows of the batch, pointing into it.
  void Rows(std::vector<const JournalRecord*>& journalRows, std::vector<LineRow>& lineRows) const {
    journalRows.clear();
    for (std::size_t i = 0; i < journalCount; ++i) journalRows.push_back(&journals[i]);
    lineRows.clear();
    for (std::size_t i = 0; i < lineCount; ++i)
      lineRows.push_back({keys[i].journalId, keys[i].lineNo, &lines[i]});
  }
  void Clear() {
    journalCount = 0;
    lineCount = 0;
    keys.clear();
  }
};

}  // namespace

struct StoreWriter::Impl {
  enum class Journals : uint8_t { Unseen, Early, Later };

  std::filesystem::path storePath;
  std::filesystem::path temp;

  // The reader's side.
  bool forgotten = false;
  std::vector<Journals> journals;  // by data index
  std::vector<std::string> ids;    // the data id the early journals went in under
  std::vector<std::size_t> counts;
  JournalBatch current;

  // Shared with the writer thread.
  std::mutex mutex;
  std::condition_variable ready;
  std::condition_variable space;
  std::deque<JournalBatch> queue;
  std::vector<JournalBatch> spare;
  bool closing = false;
  std::atomic<bool> cancelled = false;
  std::thread thread;

  // The connection: the writer thread's until it is joined, then the caller's.
  std::unique_ptr<Database> db;
  std::unique_ptr<JournalInserts> inserts;
  bool failed = false;
  std::string openError;                          // why the file could not be made
  std::vector<const JournalRecord*> journalRows;  // the writer thread's, reused from batch to batch
  std::vector<LineRow> lineRows;

  // The file is made here, exclusively and never through a link; SQLite only opens it.
  void Open() {
    if (!WriteNewFile(temp, {}, openError)) {
      failed = true;
      return;
    }
    db = std::make_unique<Database>(temp, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOFOLLOW | SQLITE_OPEN_NOMUTEX);
    failed = !db->Ok() || !db->Exec(kBulkPragmas) || !db->Exec(StoreSchemaSql()) || !db->Exec("BEGIN");
    if (!failed) {
      inserts = std::make_unique<JournalInserts>(*db);
      failed = !inserts->Ok();
    }
  }

  void Close() {
    inserts.reset();
    db.reset();
  }

  void Discard() {
    const bool made = db != nullptr;
    Close();
    std::error_code ec;
    if (made) std::filesystem::remove(temp, ec);
    failed = false;
    openError.clear();
  }

  void Write(const JournalBatch& batch) {
    if (db == nullptr) Open();
    if (failed) return;
    batch.Rows(journalRows, lineRows);
    failed = !inserts->Journals(batch.dataId, journalRows) || !inserts->Lines(batch.dataId, lineRows);
  }

  void Run() {
    for (;;) {
      std::unique_lock lock(mutex);
      ready.wait(lock, [this] { return !queue.empty() || closing; });
      if (queue.empty()) return;
      JournalBatch batch = std::move(queue.front());
      queue.pop_front();
      lock.unlock();
      if (!failed && !cancelled) {
        try {
          Write(batch);
        } catch (const std::exception&) {
          failed = true;  // out of memory: the caller begins again and meets it there
        }
      }
      batch.Clear();
      lock.lock();
      spare.push_back(std::move(batch));
      space.notify_one();
    }
  }

  void Send() {
    if (!thread.joinable()) thread = std::thread([this] { Run(); });
    std::unique_lock lock(mutex);
    space.wait(lock, [this] { return queue.size() < kQueuedBatches; });
    queue.push_back(std::move(current));
    if (spare.empty()) {
      current = JournalBatch{};
    } else {
      current = std::move(spare.back());
      spare.pop_back();
    }
    ready.notify_one();
  }

  // Waits for the writer to finish what it was given, or, cancelled, to drop it.
  void Stop(bool cancel) {
    {
      std::lock_guard lock(mutex);
      closing = true;
      if (cancel) cancelled = true;
    }
    ready.notify_all();
    if (thread.joinable()) thread.join();
  }

  // The early journals stand when they are exactly the document's journals under its ids.
  bool EarlyJournalsMatch(const HostDocument& document, std::vector<bool>& written) const {
    if (journals.size() > document.data.size()) return false;
    for (std::size_t i = 0; i < journals.size(); ++i) {
      if (journals[i] != Journals::Early) continue;
      const DataRecord& data = document.data[i];
      if (ids[i] != data.dataId || counts[i] != data.journals.size()) return false;
      written[i] = true;
    }
    return true;
  }

  bool WriteRest(const HostDocument& document, std::string& error) {
    // The ledger's rows are derived and sorted while the writer catches up.
    std::vector<std::vector<PostingRow>> rows;
    rows.reserve(document.data.size());
    for (const DataRecord& data : document.data) rows.push_back(PostingRowsOf(data));
    Stop(false);
    LoadCrashPoint("journals-written");
    std::vector<bool> written(document.data.size(), false);
    if (failed || !EarlyJournalsMatch(document, written)) {
      Discard();
      written.assign(document.data.size(), false);
    }
    if (db == nullptr) Open();
    bool ok = !failed && InsertTables(*db, document, written);
    for (std::size_t i = 0; ok && i < document.data.size(); ++i) {
      ok = InsertPostings(*db, static_cast<int64_t>(i), rows[i]);
    }
    ok = ok && db->Exec("COMMIT");
    if (!ok) error = !openError.empty() ? openError : temp.string() + ": " + db->Message();
    Close();
    return ok;
  }
};

StoreWriter::StoreWriter(std::filesystem::path storePath) : impl_(std::make_unique<Impl>()) {
  impl_->storePath = std::move(storePath);
  impl_->temp = TemporaryStorePath(impl_->storePath);
  // SQLite's memory statistics take one lock around every allocation of every connection.
  // Only possible before SQLite's first use in the process; later it stays as it is.
  sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
}

StoreWriter::~StoreWriter() {
  impl_->Stop(true);
  impl_->Discard();
}

void StoreWriter::Take(std::size_t dataIndex, const std::string* dataId, const JournalRecord& journal) {
  Impl& w = *impl_;
  if (w.forgotten) return;
  if (w.journals.size() <= dataIndex) {
    w.journals.resize(dataIndex + 1, Impl::Journals::Unseen);
    w.ids.resize(dataIndex + 1);
    w.counts.resize(dataIndex + 1, 0);
  }
  Impl::Journals& state = w.journals[dataIndex];
  // A record that names its id only after its journals has them written with the rest.
  if (state == Impl::Journals::Unseen)
    state = dataId != nullptr ? Impl::Journals::Early : Impl::Journals::Later;
  if (state != Impl::Journals::Early) return;
  if (!w.current.Empty() && (w.current.dataIndex != dataIndex || w.current.journalCount >= kBatchJournals)) {
    w.Send();
  }
  if (w.current.Empty()) {
    w.current.dataIndex = dataIndex;
    w.current.dataId = *dataId;
    if (w.counts[dataIndex] == 0) w.ids[dataIndex] = *dataId;
  }
  w.current.Add(journal);
  ++w.counts[dataIndex];
}

void StoreWriter::Forget() {
  Impl& w = *impl_;
  w.Stop(true);
  w.Discard();
  w.forgotten = true;
  w.journals.clear();
  w.current.Clear();
}

int StoreWriter::Finish(const HostDocument& document, std::string& error) {
  Impl& w = *impl_;
  if (!w.current.Empty()) w.Send();
  bool written = w.WriteRest(document, error);
  if (written && !SyncFile(w.temp)) {
    error = w.temp.string() + ": cannot be written to disk";
    written = false;
  }
  written = written && ReplaceStore(w.temp, w.storePath, error);
  if (!written) {
    std::error_code ec;
    std::filesystem::remove(w.temp, ec);
  }
  return written ? 1 : 0;
}

}  // namespace orbeck::store
