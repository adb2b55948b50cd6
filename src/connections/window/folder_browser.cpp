#include "connections/window/folder_browser.h"

#include "base/settings_store.h"
#include "connections/window/sample_folder.h"
#include "shell/form1.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>

namespace quintabel {

void prepareFolderDialog(QFileDialog& dialog, const QString& prompt, const QString& startFolder)
{
    dialog.setWindowTitle(prompt);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // Only folders of the file system: nothing that has no path there.
    dialog.setSupportedSchemes({QStringLiteral("file")});
    if (!startFolder.isEmpty())
        dialog.setDirectory(startFolder);
}

QString BrowseForFolder(QWidget* owner, const QString& prompt, const QString& startFolder)
{
    QFileDialog dialog(owner);
    prepareFolderDialog(dialog, prompt, startFolder);
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    const QStringList chosen = dialog.selectedFiles();
    // A path typed into the dialog's name field need not lead to a folder.
    if (chosen.isEmpty() || !QFileInfo(chosen.constFirst()).isDir())
        return QString();
    return chosen.constFirst();
}

void browseParadoxFolder(StepGuard& guard, QLineEdit& folderField, QWidget* owner, const FolderDialog& dialog)
{
    QString chosenFolder;
    guard.step(100, [&] {
        const QString startFolder = readSetting(QLatin1String(settings_keys::kLastFolderDot), QString());
        chosenFolder = dialog(owner, QString::fromLatin1(kBrowsePrompt), startFolder);
    });
    if (chosenFolder.isEmpty())
        return; // cancelled: the field keeps its text
    guard.step(104, [&] { folderField.setText(chosenFolder); });
}

void attachFolderChoice(Form1& connectionWindow, const QString& programFolder, FolderDialog dialog)
{
    Form1* const window = &connectionWindow;
    connectionWindow.setBrowseBody([window, dialog = std::move(dialog)](StepGuard& guard) {
        browseParadoxFolder(guard, *window->Text1, window, dialog);
    });
    connectionWindow.setLoadSampleBody([window, programFolder](StepGuard& guard) {
        loadSampleDatabase(guard, *window->Text1, programFolder);
    });
}

} // namespace quintabel
