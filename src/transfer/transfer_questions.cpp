#include "transfer/transfer_questions.h"

#include "shell/message_boxes.h"

#include <QList>

namespace quintabel {

bool ExceedsParadoxNameLimit(const QString& name)
{
    return name.toUcs4().size() > kParadoxNameLimit;
}

QString ParadoxNameOf(const QString& name)
{
    const QList<uint> characters = name.toUcs4();
    if (characters.size() <= kParadoxNameLimit)
        return name;
    return QString::fromUcs4(reinterpret_cast<const char32_t*>(characters.constData()), kParadoxNameLimit);
}

bool AskToTrimName(const QString& sourceName, const QString& trimmedName)
{
    return AskYesNo(sourceName.toUpper() + QStringLiteral(" is more than 8 characters. It will be trimmed into ")
                        + trimmedName.toUpper() + QStringLiteral(". Continue?"),
                    QStringLiteral("Continue?"));
}

bool AskToOverwrite(const QString& targetName)
{
    return AskYesNo(QStringLiteral("Would you like to overwrite ") + targetName + QLatin1Char('?'),
                    QStringLiteral("Overwrite?"));
}

} // namespace quintabel
