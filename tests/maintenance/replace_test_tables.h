#pragma once
// The two generations of table X that the replacement tests swap, written with the real
// table writer: the old one with memos and a primary-index companion (.PX), the new one with
// other rows and memos and no .PX, so that a mix of the two families shows at once.

#include "paradoxfile/value.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace quintabel::testing {

enum class Generation { Old, New };

using Rows = std::vector<std::vector<paradox::Value>>;

Rows RowsOf(Generation generation);

// Writes the generation's table `table` into `folder` (.DB, .MB, and for the old one .PX).
void WriteGeneration(const std::filesystem::path& folder, const std::string& table, Generation generation);

// The file names of the generation's family.
std::vector<std::string> FamilyNames(const std::string& table, Generation generation);

// Which generation `folder` holds whole under `table`: exactly its files, its rows read back
// with the table reader, its .PX bytes. Nothing when the table is absent, partial or mixed.
std::optional<Generation> WholeGenerationIn(const std::filesystem::path& folder, const std::string& table);

// Whether the generation is whole when its files are gathered from `places`, each file from
// the first place that holds it (the Paradox folder with a replacement's working folder).
bool WholeAcross(Generation generation, const std::string& table, const std::vector<std::filesystem::path>& places);

// The names of Quintabel's working files and folders directly in `folder`.
std::vector<std::string> WorkingEntries(const std::filesystem::path& folder);

} // namespace quintabel::testing
