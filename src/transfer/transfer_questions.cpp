#include "transfer/transfer_questions.h"

#include "base/message_boxes.h"
#include "base/path_helpers.h"
#include "paradoxfile/table_search.h"

#include <QFile>
#include <QList>

#include <filesystem>
#include <system_error>

namespace quintabel {

bool exceedsParadoxNameLimit(const QString& name)
{
    return name.toUcs4().size() > kParadoxNameLimit;
}

QString paradoxNameOf(const QString& name)
{
    const QList<uint> characters = name.toUcs4();
    if (characters.size() <= kParadoxNameLimit)
        return name;
    return QString::fromUcs4(reinterpret_cast<const char32_t*>(characters.constData()), kParadoxNameLimit);
}

bool askToTrimName(const QString& sourceName, const QString& trimmedName)
{
    return askYesNo(sourceName.toUpper() + QStringLiteral(" is more than 8 characters. It will be trimmed into ")
                        + trimmedName.toUpper() + QStringLiteral(". Continue?"),
                    QStringLiteral("Continue?"), BoxQuestion::Trim);
}

bool askToOverwrite(const QString& targetName)
{
    return askYesNo(QStringLiteral("Would you like to overwrite ") + targetName + QLatin1Char('?'),
                    QStringLiteral("Overwrite?"), BoxQuestion::Overwrite);
}

bool askToOverwriteParadoxTable(const QString& paradoxFolder, const QString& targetName)
{
    const std::filesystem::path folder = toFileSystemPath(paradoxFolder);
    const auto tables = paradox::tablesNamedInTree(folder, targetName.toStdString());
    std::error_code unknown;
    if (tables.empty() || std::filesystem::equivalent(tables.front().parent_path(), folder, unknown))
        return askToOverwrite(targetName);
    const QString otherFolder = QFile::decodeName(tables.front().parent_path().c_str());
    return askYesNo(targetName + QStringLiteral(" is a table in the folder '") + otherFolder
                        + QStringLiteral("' below the Paradox folder, not in the Paradox folder itself. Quintabel "
                                         "writes the new ")
                        + targetName
                        + QStringLiteral(" into the Paradox folder and leaves that table as it is; from then on, ")
                        + targetName + QStringLiteral(" means the new table. Continue?"),
                    QStringLiteral("Overwrite?"), BoxQuestion::Overwrite);
}

bool askToReplaceLeftOverFiles(const QString& targetName, const QStringList& files)
{
    return askYesNo(QStringLiteral("The Paradox folder holds %1, left over from a table %2 that is no longer there "
                                   "(its .DB is missing). The new %2 replaces %3. Would you like to overwrite %3?")
                        .arg(QLatin1Char('\'') + files.join(QStringLiteral("', '")) + QLatin1Char('\''), targetName,
                             files.size() == 1 ? QStringLiteral("it") : QStringLiteral("them")),
                    QStringLiteral("Overwrite?"), BoxQuestion::Overwrite);
}

} // namespace quintabel
