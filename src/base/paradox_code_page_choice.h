#pragma once
// The code pages the connection window offers for the Paradox side. A table's header names the
// code page its text is in, but some headers are wrong (a table said to be in 936 whose text is
// Windows-1251) and old ones name none; the user who knows better picks the real one. The pick
// overrides every header when tables are read, and is the code page new tables are written in.

#include <QString>

#include <vector>

namespace quintabel {

// "As each table says": read each table in the code page its header names, and write new
// tables in Windows-1252.
inline constexpr int kCodePageAsEachTableSays = 0;

struct CodePageChoice {
    int number; // kCodePageAsEachTableSays, or a DOS or Windows code page number
    QString caption;
};

// In the order the drop-down shows them: "as each table says" first, then by number.
const std::vector<CodePageChoice>& paradoxCodePageChoices();

// The stored setting's code page: a number the drop-down offers, else "as each table says"
// (an empty, unknown or damaged setting is no reason to read tables in a code page nobody chose).
int codePageOfSetting(const QString& stored);

} // namespace quintabel
