#pragma once
// Statements and values cut to a length a message box can show.
//
// A refused row may carry a memo of many megabytes, and its INSERT statement twice that. Put
// whole into a box, such a text takes the window system minutes and gigabytes to lay out,
// and no one reads past its first lines anyway. So every statement and every value that a
// box quotes is cut after its first characters, and the box says how much was left out:
//
//     INSERT INTO `notes` VALUES('1','aaaa…aaa… (16777216 more characters)
//
// Characters are Unicode characters (code points): a cut never splits one, and so never
// splits a UTF-16 surrogate pair either once the text becomes a QString.

#include <cstddef>
#include <string>
#include <string_view>

namespace quintabel {

// What a report keeps of a statement or a value: readable, and quick to lay out.
inline constexpr std::size_t kReportExcerptCharacters = 1000;
// What a message keeps of a value it quotes in a sentence, beside the value's column and row:
// enough to recognise it by. Short, so that the sentence stays whole within the report's own
// bound; the statement at the end of the report shows more of the row.
inline constexpr std::size_t kValuePreviewCharacters = 40;

// `utf8Text` when it has at most `keptCharacters` characters; otherwise its first
// `keptCharacters` characters followed by "… (N more characters)". A byte that is no part of
// a valid UTF-8 sequence counts as one character.
std::string reportExcerpt(std::string_view utf8Text,
                          std::size_t keptCharacters = kReportExcerptCharacters);

// A value quoted in a sentence: its first kValuePreviewCharacters characters as reportExcerpt
// keeps them, with every NUL character shown as the symbol for null (U+2400). A message
// travels as an exception's C string, which a NUL inside the value would end there, taking
// the rest of the sentence (the column, the row, the reason) with it.
std::string valuePreview(std::string_view utf8Value);

} // namespace quintabel
