#pragma once
// Moving one file to a new name in the same folder without ever replacing a file that already
// has that name: the plain rename of the platform would silently overwrite it.

#include <filesystem>
#include <functional>

namespace quintabel {

// Moves `from` to `to`: 0 when moved, else the error number (EEXIST when `to` exists); `from`
// is then untouched.
int moveWithoutReplacing(const std::filesystem::path& from, const std::filesystem::path& to);

// Moves `from` to `to`. Throws std::runtime_error ("Could not rename '…' to '…': reason.")
// when `to` exists or the move fails; `from` is then untouched.
void moveFileWithoutReplacing(const std::filesystem::path& from, const std::filesystem::path& to);

// A file move as the rename of a table uses it; tests give one that fails on purpose.
using FileMove = std::function<void(const std::filesystem::path& from, const std::filesystem::path& to)>;

} // namespace quintabel
