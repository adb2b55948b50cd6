#include "catalogue/table_name_case.h"

#include "base/ascii_case.h"

namespace quintabel {

QString asciiUpperCase(const QString& name)
{
    QString upper = name;
    for (QChar& character : upper)
        character = QChar(asciiUpper(character.unicode()));
    return upper;
}

} // namespace quintabel
