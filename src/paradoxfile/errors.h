#pragma once
// The exceptions of the Paradox file library. Every message names the file (or the table, the
// column and the row) and says what is wrong, so that callers can show it as it is.

#include "base/expected_problem.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>

namespace quintabel::paradox {

// Base of everything this library throws on purpose.
class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file that is not a Paradox table, or is corrupt, truncated or of a kind this library does
// not read. "Corrupt Paradox file '…/orders.db': block 12 lies past the end of the file."
class FormatError : public Error {
public:
    using Error::Error;
};

// Where the code page that text was read in came from.
enum class CodePageOrigin {
    Chosen,    // the caller asked for it (ReaderOptions::codePage)
    Header,    // the table's header names it
    SortOrder, // the header names none; the table's sort order belongs to it
    Guessed,   // the header names none and its sort order says nothing: the DOS default, 437
};

// Text in the table (a value, a field name, the table name) whose bytes are not valid in the
// code page it was read in. The file itself may well be sound: its header may name the wrong
// code page. A situation the user can put right by reading the table in its real code page,
// so it is shown as a plain message; the members let a window word its own.
class InvalidTextError : public FormatError, public ExpectedProblem {
public:
    // `record` is 1-based, 0 when the text is in the header (the table's or a field's name,
    // which `headerPart` then describes for the message: "the name of field 3"); `field` is
    // the field's name, empty when the text is in the header.
    InvalidTextError(std::string tableFile, std::string field, std::uint64_t record, int codePage,
                     CodePageOrigin origin, const std::string& headerPart = {});

    // What is wrong and where, without the message's closing advice, for a caller that words
    // its own ("choose it in the window ...").
    const std::string& problem() const { return problem_; }
    const std::string& tableFile() const { return tableFile_; }
    const std::string& field() const { return field_; }
    std::uint64_t record() const { return record_; }
    int codePage() const { return codePage_; }
    CodePageOrigin codePageOrigin() const { return origin_; }

private:
    std::string problem_;
    std::string tableFile_;
    std::string field_;
    std::uint64_t record_;
    int codePage_;
    CodePageOrigin origin_;
};

// The operating system refused a read, a write, a rename or a delete (disk full, permissions,
// an I/O error injected by a test). The message carries the path and the system's words.
class IoError : public Error {
public:
    using Error::Error;
};

// A write the disk had no room for (ENOSPC, or the user's quota: EDQUOT). No fault of the
// program, and the user can make room: shown as a plain message.
class DiskFullError : public IoError, public ExpectedProblem {
public:
    using IoError::IoError;
};

// A table definition the writer cannot create: a bad field name, size or type, a bad table
// name, an unsupported code page.
class DefinitionError : public Error {
public:
    using Error::Error;
};

// A value that the table cannot hold exactly: text the code page cannot represent, a number
// out of range, a value of the wrong kind. Names the column and the row (1-based).
class ValueError : public Error {
public:
    ValueError(const std::string& message, std::string column, std::uint64_t row)
        : Error(message), column_(std::move(column)), row_(row)
    {
    }
    const std::string& column() const { return column_; }
    std::uint64_t row() const { return row_; }

private:
    std::string column_;
    std::uint64_t row_;
};

// A keyed table takes its records in strictly ascending key order (docs/paradox-format.md
// §9.4), and this one's key is equal to the previous record's (`duplicate()`) or sorts before
// it. The record is not written. Not a ValueError: no record of the table may be left out,
// so a caller whose records are not in key order writes the table unkeyed instead.
class KeyOrderError : public Error {
public:
    KeyOrderError(const std::string& message, std::uint64_t row, bool duplicate)
        : Error(message), row_(row), duplicate_(duplicate)
    {
    }
    // The refused record, 1-based among the records appended.
    std::uint64_t row() const { return row_; }
    bool duplicate() const { return duplicate_; }

private:
    std::uint64_t row_;
    bool duplicate_;
};

// The writer never replaces a table: its .DB or .MB (in any letter case) is already there.
class TableExistsError : public Error {
public:
    using Error::Error;
};

// No .DB of that name in the folder, in any letter case.
// "Paradox table 'ORDERS' was not found in folder '…'."
class TableNotFoundError : public Error {
public:
    using Error::Error;
};

// Two files match the name when letter case is ignored (orders.db and ORDERS.DB), or two
// folders below the Paradox folder hold a table of the name; the library will not guess which
// one is meant. The user can tell, and put it right: shown as a plain message.
class AmbiguousTableError : public Error, public ExpectedProblem {
public:
    using Error::Error;
};

} // namespace quintabel::paradox
