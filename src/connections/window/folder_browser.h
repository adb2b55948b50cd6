#pragma once
// The folder-browse dialog, and the connection window's "..." button that uses it to fill the
// Paradox folder field.

#include "base/step_guard.h"

#include <QString>

#include <functional>

class QFileDialog;
class QLineEdit;
class QWidget;

namespace quintabel {

class Form1;

inline constexpr char kBrowsePrompt[] = "Please select folder:";

// Asks the user for a folder: the platform's folder dialog with `prompt` as its caption,
// opened at `startFolder` (an empty or missing one selects nothing in particular), offering
// folders only. The chosen folder's path, or an empty text when the user cancels.
QString BrowseForFolder(QWidget* owner, const QString& prompt, const QString& startFolder);

// How BrowseForFolder sets up its dialog before showing it.
void prepareFolderDialog(QFileDialog& dialog, const QString& prompt, const QString& startFolder);

// The folder dialog as the "..." button calls it; tests give one that answers from a script.
using FolderDialog = std::function<QString(QWidget* owner, const QString& prompt, const QString& startFolder)>;

// "...": opens the dialog at the start folder stored under "LastFolderDot" and puts the chosen
// folder into `folderField` (whose change handler stores it). A cancel changes nothing.
void browseParadoxFolder(StepGuard& guard, QLineEdit& folderField, QWidget* owner, const FolderDialog& dialog);

// Gives the connection window the work of "..." and of "Load Sample/Example Database" (the
// sample folder beside `programFolder`).
void attachFolderChoice(Form1& connectionWindow, const QString& programFolder,
                        FolderDialog dialog = BrowseForFolder);

} // namespace quintabel
