#pragma once
// Every box the user sees goes through one interface, so that production shows Qt dialogs
// and tests install a scripted stand-in that records each box and answers from a script.
// Production code asks for "the boxes" with installedMessageBoxes(); whoever starts the program (main() or a
// test fixture) installs an implementation first.

#include <QString>

#include <optional>

namespace quintabel {

enum class BoxIcon { None, Exclamation };
enum class BoxButtons { Ok, YesNo };
enum class BoxAnswer { Ok, Yes, No };
// Which question a Yes/No box asks, for front ends that answer from their options rather
// than the user: "Would you like to overwrite ...?" (also the Paradox variant naming a table
// in a folder below) and "... will be trimmed into ... Continue?". Every other box is Other.
enum class BoxQuestion { Other, Overwrite, Trim };

struct BoxRequest {
    QString title;
    QString text; // exactly as the program builds it: "\r" and "\r\n" included
    BoxIcon icon = BoxIcon::None;
    BoxButtons buttons = BoxButtons::Ok;
    BoxQuestion question = BoxQuestion::Other;
};

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;

    // Shows a modal message box and waits for the user's answer.
    virtual BoxAnswer showBox(const BoxRequest& request) = 0;

    // Shows a modal input box with OK and Cancel: the typed text, or no value on Cancel.
    virtual std::optional<QString> inputBox(const QString& prompt, const QString& title,
                                            const QString& defaultText) = 0;
};

// The installed boxes. Ends the program with a clear message when none were installed:
// falling back to real dialogs would let a test block on a modal box.
MessageBoxes& installedMessageBoxes();

// Installs `boxes` (not owned; nullptr uninstalls) and returns what was installed before.
MessageBoxes* installMessageBoxes(MessageBoxes* boxes);

// Installs boxes for the lifetime of this object and puts the previous ones back afterwards.
class MessageBoxesInstallation {
public:
    explicit MessageBoxesInstallation(MessageBoxes& boxes);
    ~MessageBoxesInstallation();
    MessageBoxesInstallation(const MessageBoxesInstallation&) = delete;
    MessageBoxesInstallation& operator=(const MessageBoxesInstallation&) = delete;

private:
    MessageBoxes* previous_;
};

// The program's kinds of boxes, all through installedMessageBoxes():

// Information: OK alone, no icon, the application title.
void showMessage(const QString& text);

// Question: Yes and No, no icon; true for Yes. `question` names the overwrite and trim
// questions for front ends that answer them from their options.
bool askYesNo(const QString& text, const QString& title, BoxQuestion question = BoxQuestion::Other);

// Input box under the application title; Cancel gives an empty text.
QString showInputBox(const QString& prompt, const QString& defaultText);

} // namespace quintabel
