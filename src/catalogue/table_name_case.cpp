#include "catalogue/table_name_case.h"

namespace quintabel {

QString AsciiUpperCase(const QString& name)
{
    QString upper = name;
    for (QChar& character : upper) {
        if (character >= QLatin1Char('a') && character <= QLatin1Char('z'))
            character = QChar(character.unicode() - ('a' - 'A'));
    }
    return upper;
}

} // namespace quintabel
