#pragma once
// Writes a keyless Paradox 5.x table into a folder, safely:
//
//   TableWriter writer(folder, "ORDERS", fields);         // fails if ORDERS.DB/.MB exists
//   writer.append(values);  ...                            // typed values, one record each
//   writer.commit();                                       // ORDERS.DB (and ORDERS.MB) appear
//
// The files are written under temporary names in the folder (hidden: ".quintabel-…") and
// renamed into place only when complete, so a crash never leaves half a table. An existing
// table is never replaced: if a .DB or .MB of that name exists in any letter case, the
// writer refuses, at the start and again at the commit. On any failure, and when the writer
// is destroyed without commit(), the temporary files are removed.

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
    // "NAME.db"/"NAME.mb" instead of "NAME.DB"/"NAME.MB".
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

    // Appends one record. A ValueError rejects this record only; any other failure removes
    // the temporary files and the writer can do nothing more.
    void append(std::span<const Value> record);

    // Completes the files and renames them into place. Throws TableExistsError when a table
    // of that name appeared meanwhile (the temporary files are removed then too).
    void commit();

    std::uint64_t recordCount() const;
    // Where the table goes (or went): folder / NAME.DB, folder / NAME.MB.
    const std::filesystem::path& tablePath() const;
    const std::filesystem::path& blobPath() const;
    bool hasBlobFile() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace quintabel::paradox
