#pragma once
// A long result's rows read on a thread of their own, a few batches ahead of the program, so
// that reading and decoding the next rows overlaps with what the program does with each row
// (weighing it for its Paradox field, storing it in the scratch database, writing it to the
// Paradox file). Done one after the other the two add up; on two cores they need not.
//
// The first rows are read on the caller's thread, exactly as without this: a short result (a
// count, a list of tables) never starts a thread. Past them the source is read only by the
// reading thread, until its rows end, a read fails, or this object goes. The source must
// allow being read from another thread while nothing else touches it. A MariaDB result
// streamed by mysql_use_result does (its connection carries nothing else until the result's
// last row has been read), and so does a scratch table's SQLite statement while the program
// only writes out the rows it reads.
//
// Rows come out in the order read. A failure comes out after every row read before it, and
// every fetch after it throws it again: a source that failed is not read further.

#include "drivers/driver.h"

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace quintabel::db {

class ReadAheadRows : public RowSource {
public:
    static constexpr std::size_t kRowsOnCallersThread = 512;
    static constexpr std::size_t kRowsPerBatch = 1024;

    explicit ReadAheadRows(std::unique_ptr<RowSource> source, std::size_t rowsOnCallersThread = kRowsOnCallersThread,
                           std::size_t rowsPerBatch = kRowsPerBatch);
    // Stops the reading thread (after the row it is reading) before the source goes.
    ~ReadAheadRows() override;
    ReadAheadRows(const ReadAheadRows&) = delete;
    ReadAheadRows& operator=(const ReadAheadRows&) = delete;

    const std::vector<FieldInfo>& fields() const override { return fields_; }
    bool fetch(std::vector<Value>& row) override;
    std::optional<std::int64_t> rowCount() const override { return rowCount_; }
    // Tells the source, which the reading thread may be reading, to stop.
    void cancel() override { source_->cancel(); }

    // Whether the rows are being read on a thread of their own (for tests).
    bool readingAhead() const { return reader_.joinable(); }

private:
    // Rows read in one go, handed over together; what ended them, if anything did.
    struct Batch {
        std::vector<std::vector<Value>> rows;
        std::size_t size = 0;
        bool sourceEnded = false;
        std::exception_ptr failure;
    };

    void startReading();
    void readOnThread();
    // The next batch from the reading thread, the one just used going back to it.
    void takeNextBatch();

    // Declared first, so that it goes last: the reading thread is joined before.
    std::unique_ptr<RowSource> source_;
    std::vector<FieldInfo> fields_;
    std::optional<std::int64_t> rowCount_;
    std::size_t rowsOnCallersThread_;
    std::size_t rowsPerBatch_;

    // The caller's side: rows read on its own thread so far, whether the source told its end
    // there, and the batch whose rows it is handing out.
    std::size_t rowsReadHere_ = 0;
    bool endedHere_ = false;
    bool noThread_ = false; // the system had no thread to give: every row is read here
    Batch current_;
    std::size_t nextInCurrent_ = 0;

    // Shared with the reading thread, under the mutex: batches read and not yet handed out,
    // and batches handed out whose row vectors the thread may fill again.
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Batch> ready_;
    std::vector<Batch> spare_;
    // Read without the mutex between rows (written under it): the caller is waiting for rows
    // (hand over what is read), or this object is going (read no further).
    std::atomic<bool> callerWaiting_{false};
    std::atomic<bool> stopRequested_{false};
    std::thread reader_;
};

} // namespace quintabel::db
