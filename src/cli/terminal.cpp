#include "cli/terminal.h"

#include <fcntl.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <string>

namespace quintabel::cli {

namespace {

// The terminal settings to put back when a signal ends the program while echo is off. Only
// what a signal handler may touch: a descriptor, a plain struct and a flag.
int echoRestoreFd = -1;
struct termios echoRestoreSettings;
volatile sig_atomic_t echoIsOff = 0;

constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGTSTP};

extern "C" void restoreEchoAndEnd(int signalNumber)
{
    if (echoIsOff)
        tcsetattr(echoRestoreFd, TCSANOW, &echoRestoreSettings);
    // Ends (or stops) the program as the signal would have without this handler.
    signal(signalNumber, SIG_DFL);
    raise(signalNumber);
}

// Switches echo off for its lifetime and back on when it ends, or when a signal ends the
// program first.
class EchoOff {
public:
    explicit EchoOff(int fd) : fd_(fd)
    {
        if (tcgetattr(fd_, &saved_) != 0)
            return;
        echoRestoreFd = fd_;
        echoRestoreSettings = saved_;
        struct sigaction handler {};
        handler.sa_handler = restoreEchoAndEnd;
        sigemptyset(&handler.sa_mask);
        for (std::size_t index = 0; index < std::size(kEndingSignals); ++index)
            sigaction(kEndingSignals[index], &handler, &previous_[index]);
        struct termios quiet = saved_;
        // No echo, but the Enter that ends the line still moves to the next line.
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        quiet.c_lflag |= ECHONL;
        echoIsOff = 1;
        // TCSANOW, not TCSAFLUSH: a flush would throw away what was typed before echo went
        // off, and the prompt is only shown after that, so nothing typed is lost or shown.
        if (tcsetattr(fd_, TCSANOW, &quiet) != 0) {
            echoIsOff = 0;
            restoreHandlers();
            return;
        }
        active_ = true;
    }

    ~EchoOff()
    {
        if (!active_)
            return;
        tcsetattr(fd_, TCSANOW, &saved_);
        echoIsOff = 0;
        restoreHandlers();
    }

    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;

private:
    void restoreHandlers()
    {
        for (std::size_t index = 0; index < std::size(kEndingSignals); ++index)
            sigaction(kEndingSignals[index], &previous_[index], nullptr);
    }

    int fd_;
    bool active_ = false;
    struct termios saved_ {};
    struct sigaction previous_[std::size(kEndingSignals)] {};
};

void writeAll(int fd, const QByteArray& bytes)
{
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, static_cast<std::size_t>(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return;
        data += written;
        left -= written;
    }
}

} // namespace

Terminal::Terminal()
{
    const int tty = ::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (tty >= 0) {
        readFd_ = tty;
        writeFd_ = tty;
        ownsFd_ = true;
    } else if (isatty(STDIN_FILENO)) {
        // The questions then go where the user reads: standard error, which stays off the
        // standard output a script may be reading.
        readFd_ = STDIN_FILENO;
        writeFd_ = STDERR_FILENO;
    }
}

Terminal::~Terminal()
{
    if (ownsFd_)
        ::close(readFd_);
}

void Terminal::write(const QString& text)
{
    if (writeFd_ >= 0)
        writeAll(writeFd_, text.toLocal8Bit());
}

std::optional<QString> Terminal::readLine()
{
    if (readFd_ < 0)
        return std::nullopt;
    std::string line;
    for (;;) {
        char byte = 0;
        const ssize_t got = ::read(readFd_, &byte, 1);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return line.empty() ? std::nullopt : std::optional<QString>(QString::fromLocal8Bit(line));
        if (byte == '\n')
            break;
        line.push_back(byte);
    }
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return QString::fromLocal8Bit(line);
}

bool Terminal::askYesNo(const QString& question)
{
    for (;;) {
        write(question + QStringLiteral(" [y/n] "));
        const std::optional<QString> line = readLine();
        if (!line) {
            write(QStringLiteral("\n"));
            return false;
        }
        const QString answer = line->trimmed().toLower();
        if (answer == QLatin1String("y") || answer == QLatin1String("yes"))
            return true;
        if (answer == QLatin1String("n") || answer == QLatin1String("no"))
            return false;
    }
}

std::optional<QString> Terminal::readSecret(const QString& prompt)
{
    if (!isOpen())
        return std::nullopt;
    // Echo goes off before the prompt appears: an answer typed as soon as the prompt shows is
    // then never echoed.
    const EchoOff echoOff(readFd_);
    write(prompt);
    return readLine();
}

bool standardErrorIsTerminal()
{
    return isatty(STDERR_FILENO) != 0;
}

} // namespace quintabel::cli
