#include "drivers/read_ahead_rows.h"

#include <chrono>
#include <system_error>
#include <utility>

namespace quintabel::db {

namespace {

// Batches read and waiting for the caller; the thread pauses when this many wait, so that a
// caller who stops reading (a report box left open) holds only these rows.
constexpr std::size_t kBatchesAhead = 2;
// Every batch there can be at once: waiting, being handed out, and being filled.
constexpr std::size_t kBatchesAtMost = kBatchesAhead + 2;
// How long rows read may be held back from a caller who waits for them.
constexpr auto kLongestHoldBack = std::chrono::milliseconds(2);

} // namespace

ReadAheadRows::ReadAheadRows(std::unique_ptr<RowSource> source, std::size_t rowsOnCallersThread,
                             std::size_t rowsPerBatch)
    : source_(std::move(source)), fields_(source_->fields()), rowCount_(source_->rowCount()),
      rowsOnCallersThread_(rowsOnCallersThread), rowsPerBatch_(rowsPerBatch == 0 ? 1 : rowsPerBatch)
{
    // Reserved now so that handing batches back and forth never allocates, and so never
    // fails, on the reading thread.
    ready_.reserve(kBatchesAtMost);
    spare_.reserve(kBatchesAtMost);
}

ReadAheadRows::~ReadAheadRows()
{
    if (!reader_.joinable())
        return;
    {
        // Set under the mutex, so that a thread about to wait for room sees it.
        std::lock_guard lock(mutex_);
        stopRequested_.store(true);
    }
    changed_.notify_all();
    reader_.join();
}

bool ReadAheadRows::fetch(std::vector<Value>& row)
{
    if (!reader_.joinable()) {
        if (endedHere_)
            return false;
        if (rowsReadHere_ < rowsOnCallersThread_ || noThread_) {
            ++rowsReadHere_;
            endedHere_ = !source_->fetch(row);
            return !endedHere_;
        }
        startReading();
        if (!reader_.joinable()) {
            // No thread to be had: the rows are read here, as they were before.
            noThread_ = true;
            endedHere_ = !source_->fetch(row);
            return !endedHere_;
        }
    }
    while (nextInCurrent_ == current_.size) {
        if (current_.failure)
            std::rethrow_exception(current_.failure);
        if (current_.sourceEnded)
            return false;
        takeNextBatch();
    }
    // The caller's old row goes back in its place, its vector to be filled again.
    row.swap(current_.rows[nextInCurrent_++]);
    return true;
}

void ReadAheadRows::startReading()
{
    try {
        reader_ = std::thread(&ReadAheadRows::readOnThread, this);
    } catch (const std::system_error&) {
        // Out of threads: the caller reads on.
    }
}

void ReadAheadRows::takeNextBatch()
{
    {
        std::unique_lock lock(mutex_);
        if (!current_.rows.empty())
            spare_.push_back(std::move(current_));
        current_ = Batch{};
        nextInCurrent_ = 0;
        callerWaiting_.store(true, std::memory_order_relaxed);
        changed_.wait(lock, [this] { return !ready_.empty(); });
        callerWaiting_.store(false, std::memory_order_relaxed);
        current_ = std::move(ready_.front());
        ready_.erase(ready_.begin());
    }
    changed_.notify_all();
}

void ReadAheadRows::readOnThread()
{
    for (;;) {
        Batch batch;
        {
            std::lock_guard lock(mutex_);
            if (!spare_.empty()) {
                batch = std::move(spare_.back());
                spare_.pop_back();
            }
        }
        const auto batchStarted = std::chrono::steady_clock::now();
        batch.size = 0;
        batch.sourceEnded = false;
        batch.failure = nullptr;
        try {
            if (batch.rows.size() != rowsPerBatch_)
                batch.rows.resize(rowsPerBatch_);
            while (batch.size < rowsPerBatch_ && !stopRequested_.load(std::memory_order_relaxed)) {
                if (!source_->fetch(batch.rows[batch.size])) {
                    batch.sourceEnded = true;
                    break;
                }
                ++batch.size;
                // A caller kept waiting by a slow source gets the rows there are rather than
                // wait for a full batch. Not sooner: a caller quicker than the source would
                // otherwise take the rows one at a time, and pay a thread switch for each.
                if (callerWaiting_.load(std::memory_order_relaxed)
                    && std::chrono::steady_clock::now() - batchStarted > kLongestHoldBack)
                    break;
            }
        } catch (...) {
            batch.failure = std::current_exception();
        }
        const bool last = batch.sourceEnded || batch.failure != nullptr;
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [this] { return stopRequested_.load() || ready_.size() < kBatchesAhead; });
            if (stopRequested_.load())
                return;
            ready_.push_back(std::move(batch));
        }
        changed_.notify_all();
        if (last)
            return;
    }
}

} // namespace quintabel::db
