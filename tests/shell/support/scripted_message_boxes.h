#pragma once
// Message boxes for tests: every box is recorded (title, text, icon, buttons) and answered
// from a script, so no test ever waits for a real modal dialog. A question or input box with
// no scripted answer fails the running test and answers No / Cancel.

#include "base/message_boxes.h"
#include "shell/support/qstring_printer.h"

#include <QString>

#include <deque>
#include <optional>
#include <vector>

namespace quintabel::testing {

struct ShownBox {
    QString title;
    QString text;
    BoxIcon icon = BoxIcon::None;
    BoxButtons buttons = BoxButtons::Ok;
    bool isInputBox = false;
    QString defaultText; // input boxes only
    BoxQuestion question = BoxQuestion::Other;
};

class ScriptedMessageBoxes final : public MessageBoxes {
public:
    // The answer to the next Yes/No box.
    void answerNext(BoxAnswer answer) { answers_.push_back(answer); }
    // The outcome of the next input box: the typed text, or no value for Cancel.
    void typeNext(const std::optional<QString>& typed)
    {
        typed_.push_back({typed.has_value(), typed.value_or(QString())});
    }

    const std::vector<ShownBox>& shown() const { return shown_; }
    // The error reports among the boxes shown, in order.
    std::vector<ShownBox> errorReports() const;
    // The plain messages (showMessage: OK alone, no icon, not an error report), in order.
    std::vector<ShownBox> plainMessages() const;

    BoxAnswer showBox(const BoxRequest& request) override;
    std::optional<QString> inputBox(const QString& prompt, const QString& title,
                                    const QString& defaultText) override;

private:
    std::vector<ShownBox> shown_;
    std::deque<BoxAnswer> answers_;
    struct TypedAnswer {
        bool accepted;
        QString text;
    };
    std::deque<TypedAnswer> typed_;
};

// Installs a fresh set of scripted boxes for the lifetime of a test fixture.
class ScriptedBoxesInstalled {
public:
    ScriptedMessageBoxes boxes;

private:
    MessageBoxesInstallation installation_{boxes};
};

} // namespace quintabel::testing
