#pragma once
// Letter case of A to Z only. The program's own vocabularies (type names, work names) are
// ASCII, and the Paradox folder, the scratch database and Paradox's own file names fold those
// letters and no others: a character of any other letter stays as it is, whatever its case.
// Plain C++: the Paradox file library uses it too.

#include <string>
#include <string_view>

namespace quintabel {

// One character (a byte, or a UTF-16 unit) with A to Z folded.
template <typename Char>
constexpr Char asciiLower(Char character)
{
    return character >= Char('A') && character <= Char('Z') ? Char(character - Char('A') + Char('a')) : character;
}

template <typename Char>
constexpr Char asciiUpper(Char character)
{
    return character >= Char('a') && character <= Char('z') ? Char(character - Char('a') + Char('A')) : character;
}

inline std::string asciiLowerCase(std::string_view text)
{
    std::string lower(text);
    for (char& character : lower)
        character = asciiLower(character);
    return lower;
}

} // namespace quintabel
