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

// A password-protected table: its data blocks are scrambled, so it is refused, never misread.
// Not a fault of the file or of the program: the message says how the user can let it be
// read, and the windows show it as a plain message.
class EncryptedTableError : public FormatError, public ExpectedProblem {
public:
    using FormatError::FormatError;
};

// Text in the table (a value, a field name, the table name) whose bytes are not valid in the
// code page the table names, so that it cannot be read without guessing. Like an encrypted
// table, a situation the user can put right, shown as a plain message.
class InvalidTextError : public FormatError, public ExpectedProblem {
public:
    using FormatError::FormatError;
};

// The operating system refused a read, a write, a rename or a delete (disk full, permissions,
// an I/O error injected by a test). The message carries the path and the system's words.
class IoError : public Error {
public:
    using Error::Error;
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
