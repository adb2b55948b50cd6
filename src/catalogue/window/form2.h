#pragma once
// Form2, the tables window: the MySQL tables on the left, the Paradox tables on the right,
// each with Select All, Deselect All, a send button with its "Send with data type
// customization" box, Delete and Rename; below them the progress bar, "< Back" and "Help".
//
// The window does not fill its lists; its opening from the connection window does. The work
// of the send, delete and rename buttons is given to the window as handler bodies, each run
// inside its click handler with that handler's step guard (location "Form2.PushButtonN_Click").
// While one of them runs, a further click on any of them, or on "< Back", is ignored: the
// running operation yields to the window system and walks the lists as it goes, so a second
// operation started inside it could act on the wrong tables.

#include "base/step_guard.h"
#include "shell/pointer_rules.h"

#include <QWidget>

#include <functional>

class QCheckBox;
class QGroupBox;
class QListWidget;
class QPushButton;

namespace quintabel {

namespace connections {
class Connection;
}

class ProgressBar;

inline constexpr char kHelpMessagePrefix[] = "Questions? Please contact Team Corvandel at ";

class Form2 : public QWidget {
public:
    struct Environment {
        QString programFolder;            // where HAND-M.CUR is looked for
        std::function<void()> endProgram; // closing the window ends the program

        // The running program's: the folder of the executable, and closing every window
        // before the event loop stops.
        static Environment production();
    };

    using HandlerBody = std::function<void(StepGuard&)>;

    // `connectionWindow` is shown again by "< Back".
    Form2(Environment environment, QWidget& connectionWindow, QWidget* parent = nullptr);

    // The window's load (look, icon, hand cursor, caption, height), location "Form2.Form_Load".
    void Form_Load();
    // Runs Form_Load the first time the window is touched, and never again.
    void ensureLoaded();

    PointerRules& pointer() { return pointer_; }

    // The work of the long operations, by button.
    void setDeleteMySqlTablesBody(HandlerBody body) { deleteMySqlTables_ = std::move(body); }     // PushButton1
    void setSendToParadoxBody(HandlerBody body) { sendToParadox_ = std::move(body); }             // PushButton3
    void setSendToMySqlBody(HandlerBody body) { sendToMySql_ = std::move(body); }                 // PushButton4
    void setDeleteParadoxTablesBody(HandlerBody body) { deleteParadoxTables_ = std::move(body); } // PushButton5
    void setRenameMySqlTableBody(HandlerBody body) { renameMySqlTable_ = std::move(body); }       // PushButton6
    void setRenameParadoxTableBody(HandlerBody body) { renameParadoxTable_ = std::move(body); }   // PushButton7

    // True while one of the bodies above runs.
    // True once the window has been closed: the program is ending, and a running operation
    // should stop at its next row or table instead of asking further questions.
    bool endRequested() const { return endRequested_; }

    // The click handlers, each under its own error location.
    void Check15_Click();
    void Check16_Click();
    void PushButton1_Click();  // "Delete Table/s" (MySQL)
    void PushButton2_Click();  // "< Back"
    void PushButton3_Click();  // "Send Table/s To Paradox"
    void PushButton4_Click();  // "Send Table/s To MySQL"
    void PushButton5_Click();  // "Delete Table/s" (Paradox)
    void PushButton6_Click();  // "Rename Table" (MySQL)
    void PushButton7_Click();  // "Rename Table" (Paradox)
    void PushButton8_Click();  // "Select All" (Paradox)
    void PushButton9_Click();  // "Deselect All" (Paradox)
    void PushButton10_Click(); // "Select All" (MySQL)
    void PushButton11_Click(); // "Deselect All" (MySQL)
    void PushButton12_Click(); // "Help"

    // The controls, by their designer names.
    QGroupBox* Frame1;
    QGroupBox* Frame2;
    QListWidget* List1;
    QListWidget* List2;
    QCheckBox* Check15;
    QCheckBox* Check16;
    ProgressBar* ProgressBar1;
    QPushButton* PushButton1;
    QPushButton* PushButton2;
    QPushButton* PushButton3;
    QPushButton* PushButton4;
    QPushButton* PushButton5;
    QPushButton* PushButton6;
    QPushButton* PushButton7;
    QPushButton* PushButton8;
    QPushButton* PushButton9;
    QPushButton* PushButton10;
    QPushButton* PushButton11;
    QPushButton* PushButton12;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void placeControls();
    void setFonts();
    void setTabOrder();
    void prepareForKeyboardAndScreenReader();
    void connectHandlers();
    void watchPointer();
    void runLongOperation(const QString& procedure, const HandlerBody& body);
    bool ignoresClicks() const;
    void selectAll(const QString& procedure, QListWidget& list, bool selected);

    Environment environment_;
    QWidget& connectionWindow_;
    PointerRules pointer_;
    bool loaded_ = false;
    bool longOperationRunning_ = false;
    bool endRequested_ = false;
    HandlerBody deleteMySqlTables_;
    HandlerBody sendToParadox_;
    HandlerBody sendToMySql_;
    HandlerBody deleteParadoxTables_;
    HandlerBody renameMySqlTable_;
    HandlerBody renameParadoxTable_;
};

} // namespace quintabel
