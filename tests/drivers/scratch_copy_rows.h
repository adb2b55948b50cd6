#pragma once
// The statements of a scratch copy, shared by the kill tests and their child process: a table
// of a number and a text long enough that a batch of a few thousand rows outgrows SQLite's
// page cache and reaches the file before it is committed.

#include <string>

namespace quintabel::testing {

inline std::string copyTableCreate(const std::string& table)
{
    return "CREATE TABLE `" + table + "`(`id` INT, `note` VARCHAR(255))";
}

// The note of a row: its number, then letters up to 200 characters.
inline std::string copyTableNote(int row)
{
    std::string note = "row " + std::to_string(row) + " ";
    note.resize(200, static_cast<char>('a' + row % 26));
    return note;
}

inline std::string copyTableInsert(const std::string& table, int row)
{
    return "INSERT INTO `" + table + "` VALUES('" + std::to_string(row) + "','" + copyTableNote(row) + "')";
}

inline std::string copyTableWriteOut(const std::string& table, const std::string& paradoxFolder)
{
    return "select * into [Paradox 5.x;Database=" + paradoxFolder + "/].[" + table + ".db] from [" + table + "]";
}

} // namespace quintabel::testing
