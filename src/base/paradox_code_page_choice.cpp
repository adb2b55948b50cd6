#include "base/paradox_code_page_choice.h"

namespace quintabel {

const std::vector<CodePageChoice>& paradoxCodePageChoices()
{
    static const std::vector<CodePageChoice> choices = {
        {kCodePageAsEachTableSays, QStringLiteral("As each table says")},
        {437, QStringLiteral("437 DOS (United States)")},
        {850, QStringLiteral("850 DOS (Western Europe)")},
        {852, QStringLiteral("852 DOS (Central Europe)")},
        {857, QStringLiteral("857 DOS (Turkish)")},
        {860, QStringLiteral("860 DOS (Portuguese)")},
        {861, QStringLiteral("861 DOS (Icelandic)")},
        {863, QStringLiteral("863 DOS (Canadian French)")},
        {865, QStringLiteral("865 DOS (Nordic)")},
        {866, QStringLiteral("866 DOS (Cyrillic)")},
        {936, QStringLiteral("936 Chinese (Simplified, GBK)")},
        {1250, QStringLiteral("1250 Windows (Central Europe)")},
        {1251, QStringLiteral("1251 Windows (Cyrillic)")},
        {1252, QStringLiteral("1252 Windows (Western Europe)")},
        {1253, QStringLiteral("1253 Windows (Greek)")},
        {1254, QStringLiteral("1254 Windows (Turkish)")},
        {1257, QStringLiteral("1257 Windows (Baltic)")},
    };
    return choices;
}

int codePageOfSetting(const QString& stored)
{
    bool isNumber = false;
    const int number = stored.trimmed().toInt(&isNumber);
    if (!isNumber)
        return kCodePageAsEachTableSays;
    for (const CodePageChoice& choice : paradoxCodePageChoices()) {
        if (choice.number == number)
            return number;
    }
    return kCodePageAsEachTableSays;
}

} // namespace quintabel
