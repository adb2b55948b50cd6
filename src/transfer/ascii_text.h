#pragma once
// Case folding for the program's own ASCII vocabularies (ADO type names, column type names).

#include <string>
#include <string_view>

namespace quintabel::transfer {

// `text` with A to Z lower-cased and every other byte kept: the names compared against are
// all ASCII, so a byte of any other letter can never match whatever its case.
std::string asciiLowerCase(std::string_view text);

} // namespace quintabel::transfer
