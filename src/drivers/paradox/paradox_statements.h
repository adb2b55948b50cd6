#pragma once
// The statements the Paradox folder driver accepts:
//   SELECT * FROM `NAME`          every record
//   SELECT top 1 * FROM "NAME"    the first record (any positive count)
//   DROP TABLE [NAME]             the table with its whole family of files
// Names may stand in backticks, square brackets or double quotes. Anything else is a
// DatabaseError.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace quintabel::db::paradox {

struct SelectAll {
    std::string table;
    std::optional<std::uint64_t> top; // nothing: every record
};

struct DropTable {
    std::string table;
};

using ParadoxStatement = std::variant<SelectAll, DropTable>;

ParadoxStatement parseParadoxStatement(std::string_view statement);

} // namespace quintabel::db::paradox
