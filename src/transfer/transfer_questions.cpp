#include "transfer/transfer_questions.h"

#include "base/message_boxes.h"
#include "base/path_helpers.h"
#include "paradoxfile/table_search.h"

#include <QFile>
#include <QList>

#include <filesystem>
#include <system_error>

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
                    QStringLiteral("Continue?"), BoxQuestion::Trim);
}

bool AskToOverwrite(const QString& targetName)
{
    return AskYesNo(QStringLiteral("Would you like to overwrite ") + targetName + QLatin1Char('?'),
                    QStringLiteral("Overwrite?"), BoxQuestion::Overwrite);
}

bool AskToOverwriteParadoxTable(const QString& paradoxFolder, const QString& targetName)
{
    const std::filesystem::path folder = ToFileSystemPath(paradoxFolder);
    const auto tables = paradox::tablesNamedInTree(folder, targetName.toStdString());
    std::error_code unknown;
    if (tables.empty() || std::filesystem::equivalent(tables.front().parent_path(), folder, unknown))
        return AskToOverwrite(targetName);
    const QString otherFolder = QFile::decodeName(tables.front().parent_path().c_str());
    return AskYesNo(targetName + QStringLiteral(" is a table in the folder '") + otherFolder
                        + QStringLiteral("' below the Paradox folder, not in the Paradox folder itself. Quintabel "
                                         "writes the new ")
                        + targetName
                        + QStringLiteral(" into the Paradox folder and leaves that table as it is; from then on, ")
                        + targetName + QStringLiteral(" means the new table. Continue?"),
                    QStringLiteral("Overwrite?"), BoxQuestion::Overwrite);
}

bool AskToReplaceLeftOverFiles(const QString& targetName, const QStringList& files)
{
    return AskYesNo(QStringLiteral("The Paradox folder holds %1, left over from a table %2 that is no longer there "
                                   "(its .DB is missing). The new %2 replaces %3. Would you like to overwrite %3?")
                        .arg(QLatin1Char('\'') + files.join(QStringLiteral("', '")) + QLatin1Char('\''), targetName,
                             files.size() == 1 ? QStringLiteral("it") : QStringLiteral("them")),
                    QStringLiteral("Overwrite?"), BoxQuestion::Overwrite);
}

} // namespace quintabel
