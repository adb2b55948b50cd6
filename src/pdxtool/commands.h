#pragma once
// pdxtool's commands, apart from main() so that tests can run them in-process.
//
//   pdxtool info [--code-page N] TABLE.db
//   pdxtool dump [--code-page N] TABLE.db
//   pdxtool copy [--code-page N] [--target-code-page N] TABLE.db FOLDER
//
// info prints one JSON object: file version ("3.0" .. "7.x" and the version byte), code page
// (as stored, and the one text is read in), record count (the header's and the blocks'), key
// field count, and the fields in order with name, type letter and size (bytes in the record;
// BCD fields also give "decimals").
// dump prints JSON Lines, one object per record: null, numbers, strings, "YYYY-MM-DD",
// "HH:MM:SS[.mmm]", "YYYY-MM-DD HH:MM:SS[.mmm]", true/false, BCD digits as a string, and
// {"hex": "..."} for Bytes, Binary, OLE and Graphic. Warnings go to standard error.
// copy writes the table with every value as a Paradox 5.x table into FOLDER, under the
// source's file name; it never replaces a table there. A keyed source is copied keyed, its
// primary index written anew, unless the copy's code page has no byte-order sort order or
// the source's records are not in key order (a damaged table): then the copy is keyless and
// a line on standard error says why.
//
// --code-page reads the table's text in code page N instead of the one its header names;
// --target-code-page writes the copy in code page N (default: the source's, when a Paradox
// 5.x table can be written in it, otherwise 1252).

#include <cstdio>
#include <string>
#include <vector>

namespace quintabel::pdxtool {

// Runs one command line (without the program name). Output goes to `out`, errors and
// warnings to `err`. Returns the exit status: 0 on success, 1 on failure, 2 on bad usage.
int run(const std::vector<std::string>& arguments, std::FILE* out, std::FILE* err);

} // namespace quintabel::pdxtool
