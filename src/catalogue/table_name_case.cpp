#include "catalogue/table_name_case.h"

#include "base/ascii_case.h"

namespace quintabel {

QString AsciiUpperCase(const QString& name)
{
    QString upper = name;
    for (QChar& character : upper)
        character = QChar(AsciiUpper(character.unicode()));
    return upper;
}

} // namespace quintabel
