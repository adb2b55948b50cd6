#include "maintenance/paradox_recovery_notice.h"

#include "base/message_boxes.h"
#include "base/path_helpers.h"

#include <QStringList>

namespace quintabel {

namespace {

QString text(const std::string& utf8)
{
    return QString::fromStdString(utf8);
}

QString lineFor(const RecoveryNote& note)
{
    using What = RecoveryNote::What;
    const QString table = note.table.empty() ? QStringLiteral("The folder") : text(note.table);
    switch (note.what) {
    case What::OverwriteUndone:
        return QStringLiteral("%1: the table is as it was; its unfinished new copy was removed.").arg(table);
    case What::OverwriteFinished:
        return QStringLiteral("%1: the new table was complete, and has now replaced the old one.").arg(table);
    case What::OldTableRestored:
        return QStringLiteral("%1: the new table was not complete; the old table was put back.").arg(table);
    case What::TablePutBack:
        return QStringLiteral("%1: the table was missing and was put back from Quintabel's working files.").arg(table);
    case What::NothingLeft:
        return QStringLiteral("%1: neither the old nor the new table was there any more; nothing was changed.")
            .arg(table);
    case What::FilesKept: {
        QStringList folders;
        for (const auto& folder : note.kept)
            folders.append(QLatin1Char('\'') + QString::fromStdString(folder.filename().string()) + QLatin1Char('\''));
        return QStringLiteral("%1: the table was changed by another program meanwhile, so Quintabel left it alone "
                              "and kept its own copies in the folder %2.")
            .arg(table, folders.join(QStringLiteral(" and the folder ")));
    }
    case What::UnfinishedTableRemoved:
        return QStringLiteral("%1: the table had not been written completely and was removed; please send it again.")
            .arg(table);
    case What::RenameFinished:
        return QStringLiteral("%1: it was being renamed to %2; the rename was finished, and all its files are "
                              "called %2.")
            .arg(table, text(note.newName));
    case What::RenameUndone:
        return QStringLiteral("%1: it was being renamed to %2; the rename was undone, and all its files are "
                              "called %1.")
            .arg(table, text(note.newName));
    case What::DeleteFinished:
        return QStringLiteral("%1: it was being deleted; the rest of its files are now deleted too.").arg(table);
    case What::DeleteUndone:
        return QStringLiteral("%1: it was about to be deleted; nothing of it was deleted, and it is as it was.")
            .arg(table);
    case What::NotSettled:
        return QStringLiteral("%1: could not be put in order (%2); its files were left as they were.")
            .arg(table, text(note.problem));
    }
    return table;
}

} // namespace

QString paradoxRecoveryMessage(const std::vector<RecoveryNote>& notes, const QString& paradoxFolder)
{
    QStringList lines{QStringLiteral("Quintabel was stopped while it was changing tables in the Paradox folder '%1'. "
                                     "It has now put the folder in order:")
                          .arg(paradoxFolder)};
    for (const RecoveryNote& note : notes)
        lines.append(lineFor(note));
    return lines.join(QLatin1Char('\n'));
}

void recoverParadoxFolderAndTell(const QString& paradoxFolder, const FolderWriteLock::WhileBusy& whileBusy)
{
    if (paradoxFolder.isEmpty())
        return;
    const std::vector<RecoveryNote> notes = recoverParadoxFolder(toFileSystemPath(paradoxFolder), whileBusy);
    if (!notes.empty())
        showMessage(paradoxRecoveryMessage(notes, paradoxFolder));
}

} // namespace quintabel
