#pragma once
// What the delete and rename buttons say when the selection does not fit.

namespace quintabel {

inline constexpr char kSelectTableMySql[] = "Please select a table";
inline constexpr char kSelectTableToDelete[] = "Please select a table to delete.";
inline constexpr char kSelectTableToRename[] = "Please select a table to rename.";
inline constexpr char kSelectJustOneTable[] = "Please select just one table to rename.";

// The input box's prompt is this, the old name and ":".
inline constexpr char kNewNamePromptStart[] = "Enter new name of ";

} // namespace quintabel
