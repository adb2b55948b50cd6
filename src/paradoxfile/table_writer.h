#pragma once
// Writes a Paradox 5.x table into a folder, safely:
//
//   TableWriter writer(folder, "ORDERS", fields);         // fails if ORDERS.DB/.MB/.PX exists
//   writer.append(values);  ...                            // typed values, one record each
//   writer.commit();                                       // ORDERS.DB (and .MB, .PX) appear
//
// The files are written under temporary names in the folder (hidden: ".quintabel-…") and
// renamed into place only when complete, so a crash never leaves half a table: the .MB
// first, then the .DB, then a keyed table's primary index .PX, which therefore never stands
// beside a .DB it does not belong to. An existing table is never replaced: if a .DB, .MB or
// .PX of that name exists in any letter case, the writer refuses, at the start and again at
// the commit. On any failure, and when the writer is destroyed without commit(), the
// temporary files are removed.
//
// A keyed table (WriterOptions::keyFieldCount) takes its records in key order; a record out
// of order (KeyOrderError) fails the writer like any failure other than a ValueError, so that
// no record is silently left out: the caller writes the table again, unkeyed.

#include "paradoxfile/table_encoder.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace quintabel::paradox {

class ByteSink;

struct WriterOptions : EncoderOptions {
    // "NAME.db"/"NAME.mb"/"NAME.px" instead of "NAME.DB"/"NAME.MB"/"NAME.PX".
    bool lowerCaseExtensions = false;
    // For tests: wraps each file sink the writer opens (e.g. in a FailingSink).
    std::function<std::unique_ptr<ByteSink>(std::unique_ptr<ByteSink>)> wrapSink;
};

class TableWriter {
public:
    // `tableName` is the base name of the files, without extension. Throws TableExistsError,
    // DefinitionError, IoError.
    TableWriter(const std::filesystem::path& folder, const std::string& tableName, std::vector<Field> fields,
                WriterOptions options = {});
    ~TableWriter();
    TableWriter(const TableWriter&) = delete;
    TableWriter& operator=(const TableWriter&) = delete;

    const std::vector<Field>& fields() const;

    // Appends one record. A ValueError rejects this record only; any other failure (a
    // KeyOrderError too) removes the temporary files and the writer can do nothing more.
    void append(std::span<const Value> record);

    // Completes the files and renames them into place. Throws TableExistsError when a table
    // of that name appeared meanwhile (the temporary files are removed then too).
    void commit();

    std::uint64_t recordCount() const;
    // Where the table goes (or went): folder / NAME.DB, folder / NAME.MB, folder / NAME.PX.
    const std::filesystem::path& tablePath() const;
    const std::filesystem::path& blobPath() const;
    const std::filesystem::path& primaryIndexPath() const;
    bool hasBlobFile() const;
    bool isKeyed() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace quintabel::paradox
