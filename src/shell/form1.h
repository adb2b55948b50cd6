#pragma once
// Form1, the connection window: the program's first and main window. It holds the MySQL login
// and the Paradox folder in six text fields, and the Paradox code page in a drop-down, that
// every other part reads at the moment it connects; it restores them from the settings store
// at start-up and stores every change at once. Closing it ends the program.
//
// The work of "Next >", both "Test Connection" buttons, "..." and "Load Sample/Example
// Database", and the start-up continuation after the fields are restored, is given to the
// window as handler bodies: each runs inside its click handler with that handler's step
// guard, so its failing steps are reported under the handler's own location.

#include "base/connection_fields.h"
#include "base/step_guard.h"
#include "shell/pointer_rules.h"
#include "shell/web_site.h"

#include <QWidget>

#include <functional>
#include <vector>

class QComboBox;
class QGroupBox;
class QIcon;
class QLabel;
class QLineEdit;
class QPushButton;

namespace quintabel {

class Form1 : public QWidget {
public:
    // What the window needs from the world around it.
    struct Environment {
        QString programFolder;             // where HAND-M.CUR and x/o.cjs are looked for
        NumberDraw drawWebSiteNumber;      // MaybeOpenWebSite's draw
        WebSiteOpener openWebSite;         // MaybeOpenWebSite's browser start
        std::function<void()> endProgram;  // closing the window ends the program

        // The running program's: the folder of the executable, a real draw, the browser,
        // and closing every window before the event loop stops.
        static Environment production();
    };

    using HandlerBody = std::function<void(StepGuard&)>;

    explicit Form1(Environment environment, QWidget* parent = nullptr);

    // Start-up, steps 100 to 138 ("Form1.Form_Load"), then the start-up continuation.
    void Form_Load();
    // Runs the start-up and shows the window, unless the start-up hid it (for example to
    // open the tables window in its place).
    void loadAndShow();

    ConnectionFields fields() const;
    PointerRules& pointer() { return pointer_; }

    // The handler bodies given by the parts that do the work.
    void setStartupContinuation(HandlerBody body) { startupContinuation_ = std::move(body); }
    void setNextBody(HandlerBody body) { nextBody_ = std::move(body); }
    void setParadoxTestBody(HandlerBody body) { paradoxTestBody_ = std::move(body); }
    void setLoadSampleBody(HandlerBody body) { loadSampleBody_ = std::move(body); }
    void setBrowseBody(HandlerBody body) { browseBody_ = std::move(body); }
    void setMySqlTestBody(HandlerBody body) { mySqlTestBody_ = std::move(body); }

    // The click handlers, each under its own error location.
    void PushButton1_Click(); // "Help"
    void PushButton2_Click(); // "Next >"
    void PushButton3_Click(); // Paradox "Test Connection"
    void PushButton4_Click(); // "Load Sample/Example Database"
    void PushButton5_Click(); // "..."
    void PushButton6_Click(); // MySQL "Test Connection"

    // The controls, by their designer names.
    QGroupBox* Frame1;
    QGroupBox* Frame2;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;
    QLabel* Label6;
    QLabel* Label7; // "Code Page:"
    QLineEdit* Text1;
    QLineEdit* Text2;
    QLineEdit* Text3;
    QLineEdit* Text4;
    QLineEdit* Text5;
    QLineEdit* Text6;
    QComboBox* Combo1; // the Paradox code page
    QPushButton* PushButton1;
    QPushButton* PushButton2;
    QPushButton* PushButton3;
    QPushButton* PushButton4;
    QPushButton* PushButton5;
    QPushButton* PushButton6;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void arrangeControls();
    void setFontsAndColours();
    void arrangeTabOrder();
    void prepareForKeyboardAndScreenReader();
    void connectFields();
    void connectCodePageChoice();
    void showCodePage(int number);
    void runInjected(const QString& procedure, const HandlerBody& body);
    std::vector<QLineEdit*> textFields() const;
    std::vector<QPushButton*> buttons() const;

    Environment environment_;
    PointerRules pointer_;
    HandlerBody startupContinuation_;
    HandlerBody nextBody_;
    HandlerBody paradoxTestBody_;
    HandlerBody loadSampleBody_;
    HandlerBody browseBody_;
    HandlerBody mySqlTestBody_;
};

// The program's icon, drawn for Quintabel.
QIcon programIcon();

} // namespace quintabel
