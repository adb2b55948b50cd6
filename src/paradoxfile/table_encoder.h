#pragma once
// Encodes a Paradox 5.x table (file version 0x0B) into byte sinks: the .DB, the .MB when the
// table has blob fields, and the primary index .PX when it is keyed. No files and no names:
// TableWriter puts it in a folder.
//
// Records are appended one at a time and memory stays flat (one data block, one blob block,
// and for a keyed table one index entry per block of the index). A value the table cannot
// hold exactly is refused with a ValueError naming the column and the row, and that record
// is not written; the encoder stays usable. A keyed table takes its records in strictly
// ascending key order (key_order.h) and refuses one that is not with a KeyOrderError, writing
// nothing of it either. A failure of a sink (IoError) leaves the output unusable.

#include "paradoxfile/field.h"
#include "paradoxfile/written_code_pages.h"
#include "paradoxfile/value.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace quintabel::paradox {

class ByteSink;

struct EncoderOptions {
    // The code page of all text: one of writableCodePages() (written_code_pages.h).
    int codePage = 1252;
    // Block size in KB (1, 2, 3, 4, 16 or 32). 0: 4 KB, or 16 or 32 when the record or
    // expectedRecords needs more room (a table holds at most 65535 blocks).
    int blockSizeKB = 0;
    std::uint64_t expectedRecords = 0;
    // The file name the header records as the table's name, e.g. "ORDERS.DB".
    std::string tableFileName = "TABLE.DB";
    // The autoincrement counter the header starts from (the last value handed out); the
    // header keeps the larger of this and the highest Autoincrement value written.
    std::uint32_t autoIncrementCounter = 0;
    // The header's last-update time in Unix seconds; nothing: the current time.
    std::optional<std::uint32_t> updateTime;
    // The first keyFieldCount fields are the table's primary key (0: a keyless table). A
    // keyed table names a byte-order sort order and must be written in one of
    // keyedCodePages() (key_order.h, docs/paradox-format.md §9.4).
    int keyFieldCount = 0;
};


// Checks a table definition for a Paradox 5.x table and fills in the sizes of the fixed-size
// types (a size of 0 is taken as "the usual"). Throws DefinitionError.
std::vector<Field> checkedDefinition(std::vector<Field> fields, int codePage);

class TableEncoder {
public:
    // Writes the headers at once. `blobs` must be given when a field is a blob field, and
    // `primaryIndex` when the table is keyed; each is ignored otherwise. Throws
    // DefinitionError (the definition, or the key: checkKeyDefinition()) and IoError.
    TableEncoder(std::vector<Field> fields, ByteSink& table, ByteSink* blobs, const EncoderOptions& options = {},
                 ByteSink* primaryIndex = nullptr);
    ~TableEncoder();
    TableEncoder(const TableEncoder&) = delete;
    TableEncoder& operator=(const TableEncoder&) = delete;

    const std::vector<Field>& fields() const;
    int blockSize() const;

    // Appends one record: one value per field, in field order. Throws ValueError or, in a
    // keyed table, KeyOrderError for a record it does not write.
    void append(std::span<const Value> record);

    // Writes the last blocks, completes the header and finishes the sinks.
    void finish();

    std::uint64_t recordCount() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace quintabel::paradox
