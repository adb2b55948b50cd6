#pragma once
// The column type texts the customisation window accepts from the user ("Apply").

#include <array>
#include <string>
#include <string_view>

namespace quintabel::customise {

// The accepted type list, in the order "Help" shows it. Apart from "MEMO" these are column
// type names of MS SQL Server, as the program always accepted them.
extern const std::array<std::string_view, 27> acceptedTypeNames;

// A typed text that contains one of these anywhere is accepted too, whatever follows it:
// "VARCHAR(100)" passes through "char(".
extern const std::array<std::string_view, 4> acceptedTypePrefixes;

// The accepted type list as one text, the names joined by a carriage return and a line feed.
std::string acceptedTypeListText();

// The accepted type list for the "Help" box of a MySQL target: one name per line.
std::string acceptedTypeHelpText();

// True when `typed`, compared without regard to case, occurs anywhere within the accepted
// type list text (a whole name, part of one such as "small", or the empty text) or contains
// one of the accepted prefixes. The text is judged as typed: no trimming.
bool IsValidDataType(std::string_view typed);

} // namespace quintabel::customise
