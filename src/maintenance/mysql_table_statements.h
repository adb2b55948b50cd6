#pragma once
// The statements that delete and rename MySQL tables. A table name is used exactly as the
// server listed it; it goes between backticks with every backtick inside it doubled, which is
// how MySQL reads a quoted name, so no name can end the quoting early and add words of its
// own to the statement (a table called "a`, `b" must not drop the table b).

#include <QString>

namespace quintabel {

// "DROP TABLE `name`", with no clause that tolerates a missing table.
QString dropTableStatement(const QString& tableName);

// "RENAME TABLE `old` TO `new`".
QString renameTableStatement(const QString& oldName, const QString& newName);

} // namespace quintabel
