#include "transfer/ascii_text.h"

namespace quintabel::transfer {

std::string asciiLowerCase(std::string_view text)
{
    std::string lower(text);
    for (char& character : lower) {
        if (character >= 'A' && character <= 'Z')
            character = static_cast<char>(character - 'A' + 'a');
    }
    return lower;
}

} // namespace quintabel::transfer
