#pragma once
// The statements that build a MySQL table under a temporary name and swap it in.

#include <optional>
#include <string>
#include <string_view>

namespace quintabel {

// The chosen CREATE TABLE statement with `comment` as its last table option: a closing ";"
// (which the default statement has) is dropped first, since nothing may follow it.
// "CREATE TABLE `t`(`a` INT);" -> "CREATE TABLE `t`(`a` INT) COMMENT='...'".
std::string withTableComment(std::string_view createStatement, std::string_view comment);

// One RENAME TABLE statement, so that the server makes the whole swap or none of it:
// "RENAME TABLE `t` TO `old`, `new` TO `t`" when an existing table goes aside, else
// "RENAME TABLE `new` TO `t`".
std::string swapInStatement(std::string_view table, std::string_view newTable,
                            const std::optional<std::string>& oldTable);

// "ALTER TABLE `t` COMMENT='...'": takes the transfer's mark off a settled table, which keeps
// `ownComment` (the empty comment when it has none of its own).
std::string clearCommentStatement(std::string_view table, std::string_view ownComment = {});

// "SELECT * FROM `t` LIMIT 0": fails with "no such table" exactly when the server, by its own
// rules of letter case, holds no table of that name.
std::string tableProbeStatement(std::string_view table);

// `text` as a MySQL string literal under the program's session mode (backslash escapes on):
// apostrophes and backslashes doubled.
std::string mysqlTextLiteral(std::string_view text);

} // namespace quintabel
