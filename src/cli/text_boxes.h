#pragma once
// The message boxes of the command line: every box the windows would show becomes text on
// standard error, one block per box, and the questions are answered from the options or
// asked on the terminal.

#include "cli/command_line.h"
#include "base/message_boxes.h"

#include <QString>

#include <functional>
#include <optional>

namespace quintabel::cli {

class Terminal;

struct BoxAnswers {
    Answer overwrite = Answer::No;
    Answer trim = Answer::No;
    // The text typed into the one input box a run may show (the rename's new name).
    std::optional<QString> typedText;
};

class TextBoxes final : public MessageBoxes {
public:
    // `terminal` may be null (nobody to ask: every question is answered No). `write` takes the
    // text for standard error; `errorReport` hears of every error report as it is shown.
    TextBoxes(BoxAnswers answers, Terminal* terminal, bool quiet, std::function<void(const QString&)> write,
              std::function<void(const QString&)> errorReport = {});

    BoxAnswer showBox(const BoxRequest& request) override;
    std::optional<QString> inputBox(const QString& prompt, const QString& title, const QString& defaultText) override;

    int errorReportsShown() const { return errorReportsShown_; }

private:
    bool answer(const BoxRequest& request);

    BoxAnswers answers_;
    Terminal* terminal_;
    bool quiet_;
    std::function<void(const QString&)> write_;
    std::function<void(const QString&)> errorReport_;
    int errorReportsShown_ = 0;
};

// A box's text as lines for a terminal: the "\r\n" and lone "\r" line breaks the windows use
// become "\n", and the block ends in one "\n".
QString boxTextAsLines(const QString& text);

// Whether `request` is the error report (as against a plain message).
bool isErrorReport(const BoxRequest& request);

} // namespace quintabel::cli
