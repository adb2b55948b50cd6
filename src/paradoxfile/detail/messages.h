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

// Text whose bytes the code page in use does not hold (InvalidTextError words the message).
[[noreturn]] inline void throwInvalidText(const std::string& file, const std::string& field, std::uint64_t record,
                                          int codePage, CodePageOrigin origin, const std::string& headerPart = {})
{
    throw InvalidTextError(file, field, record, codePage, origin, headerPart);
}

std::string hexNumber(unsigned long long value);

} // namespace quintabel::paradox::detail
