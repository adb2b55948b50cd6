#pragma once
// The wording of the library's format errors, kept in one place.

#include "paradoxfile/errors.h"

#include <string>

namespace quintabel::paradox::detail {

// "Corrupt Paradox file '…/orders.db': block 12 lies past the end of the file."
[[noreturn]] inline void throwCorrupt(const std::string& file, const std::string& what)
{
    throw FormatError("Corrupt Paradox file '" + file + "': " + what + ".");
}

// "Unsupported Paradox file '…': <what>."
[[noreturn]] inline void throwUnsupported(const std::string& file, const std::string& what)
{
    throw FormatError("Unsupported Paradox file '" + file + "': " + what + ".");
}

// "Paradox table '…/orders.db' holds text that is not valid in its code page 936: <where>. …"
[[noreturn]] inline void throwInvalidText(const std::string& file, int codePage, const std::string& where)
{
    throw InvalidTextError("Paradox table '" + file + "' holds text that is not valid in its code page "
                           + std::to_string(codePage) + ": " + where
                           + ". Quintabel reads a table's text only in the code page the table names, and will not "
                             "guess another. Set the table's language driver to the one its text was written in "
                             "(in Paradox: Restructure, Table Language), then send the table again.");
}

std::string hexNumber(unsigned long long value);

} // namespace quintabel::paradox::detail
