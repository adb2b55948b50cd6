#pragma once
// Streaming reader of a Paradox table (.DB with its .MB), file versions 3.0 to 7.x.
//
//   auto reader = TableReader::open("/data/orders.db");
//   for (const Field& f : reader.header().fields) ...
//   std::vector<Value> record;
//   while (reader.next(record)) ...     // one record at a time, in block order
//   for (const auto& w : reader.warnings()) ...   // e.g. header record count disagreed
//
// Memory stays flat however large the table: one block and one blob at a time.
// Password-protected tables are read like plain ones: their scrambling does not depend on the
// password. Every failure is a FormatError (corrupt or unsupported file; InvalidTextError for
// text the code page does not hold) or an IoError, with the file and the problem in its message.

#include "paradoxfile/table_header.h"
#include "paradoxfile/value.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace quintabel::paradox {

class ByteSource;

class TableReader {
public:
    // Opens the .DB file at `dbPath` and, when the table has blob fields, the .MB file of the
    // same base name beside it, found without regard to letter case. A missing .MB is an
    // error only when a record needs it.
    static TableReader open(const std::filesystem::path& dbPath, const ReaderOptions& options = {});

    // Reads from any byte sources, e.g. memory. `blobs` may be null.
    TableReader(std::unique_ptr<ByteSource> table, std::unique_ptr<ByteSource> blobs,
                const ReaderOptions& options = {});

    ~TableReader();
    TableReader(TableReader&&) noexcept;
    TableReader& operator=(TableReader&&) noexcept;

    const TableHeader& header() const;
    const std::vector<Field>& fields() const { return header().fields; }

    // The .MB file in use, if one was found (empty path for memory sources or none).
    const std::filesystem::path& blobFilePath() const;

    // Reads the next record into `values` (resized to one value per field); false at the end
    // of the table. A record's values are complete: memos and blobs come out whole.
    bool next(std::vector<Value>& values);

    // Records read so far; after next() returned true, also the 1-based number of that record.
    std::uint64_t recordsRead() const;

    // Walks the block chain without decoding any record and returns the number of records
    // the blocks hold. Does not disturb next().
    std::uint64_t countRecords() const;

    // Things worth telling the user that did not stop the reading: the header's record count
    // disagreeing with the blocks (the blocks win), values read in a lenient way. Complete
    // once next() has returned false. At most a few dozen entries.
    const std::vector<std::string>& warnings() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace quintabel::paradox
