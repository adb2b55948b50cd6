#pragma once
// The two questions a transfer may ask about one table before it copies it, and the Paradox
// name limit behind the first.

#include <QString>
#include <QStringList>

namespace quintabel {

// A Paradox table written through the scratch database takes at most this many characters.
inline constexpr int kParadoxNameLimit = 8;

// Whether `name` has more characters than a Paradox table name may have.
bool exceedsParadoxNameLimit(const QString& name);

// The first 8 characters of `name`, their case unchanged. Characters are counted as the user
// sees them: a character outside the Basic Multilingual Plane is never cut in half.
QString paradoxNameOf(const QString& name);

// "<SOURCE> is more than 8 characters. It will be trimmed into <TARGET>. Continue?", both
// names in upper case, title "Continue?". True for Yes.
bool askToTrimName(const QString& sourceName, const QString& trimmedName);

// "Would you like to overwrite <NAME>?", title "Overwrite?". True for Yes.
bool askToOverwrite(const QString& targetName);

// The question before a table is written to the Paradox folder under the listed name
// `targetName`. A table of the folder itself is replaced: askToOverwrite. A name listed only
// from a folder below it is not: the new table goes into the Paradox folder itself, beside it,
// and the question says so, with the folder of the table that stays. True for Yes.
bool askToOverwriteParadoxTable(const QString& paradoxFolder, const QString& targetName);

// The question before a table is written to the Paradox folder under a name that files left
// over from another table hold (`files`: a memo or an index without its .DB): names them and
// asks to replace them with the new table, title "Overwrite?". True for Yes.
bool askToReplaceLeftOverFiles(const QString& targetName, const QStringList& files);

} // namespace quintabel
