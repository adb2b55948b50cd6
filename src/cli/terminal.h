#pragma once
// The user's terminal, for the questions a transfer asks and for the password prompt. It is
// /dev/tty when the program has a controlling terminal, so that questions still reach the
// user while standard input and output are redirected; else standard input when that is a
// terminal. Without either, nobody can be asked.

#include <QString>

#include <optional>

namespace quintabel::cli {

class Terminal {
public:
    // Opens the terminal; check isOpen().
    Terminal();
    ~Terminal();
    Terminal(const Terminal&) = delete;
    Terminal& operator=(const Terminal&) = delete;

    bool isOpen() const { return readFd_ >= 0; }

    // Shows `question` followed by " [y/n] " and reads answers until one is yes or no ("y",
    // "yes", "n", "no", any case). The end of the input answers no.
    bool askYesNo(const QString& question);

    // Shows `prompt` and reads one line with echo switched off, whatever way the program is
    // stopped meanwhile (the terminal's echo comes back on Ctrl+C too). Nothing at the end of
    // the input.
    std::optional<QString> readSecret(const QString& prompt);

    // Writes `text` to the terminal as it is.
    void write(const QString& text);

private:
    std::optional<QString> readLine();

    int readFd_ = -1;
    int writeFd_ = -1;
    bool ownsFd_ = false;
};

// Whether standard error is a terminal (progress is shown only there).
bool standardErrorIsTerminal();

} // namespace quintabel::cli
