#include "base/kill_points.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <string>

#include <fcntl.h>
#include <unistd.h>

namespace quintabel {

namespace {

std::atomic<long> passed{0};

// A kill point's number named by the environment variable `name`, read once: 0 when it names
// none.
long pointNamed(const char* name)
{
    const char* text = std::getenv(name);
    if (text == nullptr || *text == '\0')
        return 0L;
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text, &end, 10);
    return (errno == 0 && *end == '\0' && value > 0) ? value : 0L;
}

long pointToDieAt()
{
    static const long point = pointNamed("QUINTABEL_KILL_AT_POINT");
    return point;
}

long pointToHoldAt()
{
    static const long point = pointNamed("QUINTABEL_HOLD_AT_POINT");
    return point;
}

void leaveNote(std::string_view moment)
{
    const char* file = std::getenv("QUINTABEL_KILL_POINT_NOTE");
    if (file == nullptr || *file == '\0')
        return;
    const int fd = ::open(file, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        return;
    const std::string line = std::string(moment) + "\n";
    // A short or failed write only loses the note; the kill goes ahead regardless.
    [[maybe_unused]] const ssize_t written = ::write(fd, line.data(), line.size());
    ::close(fd);
}

} // namespace

void killPoint(std::string_view moment)
{
    const long count = ++passed;
    if (count == pointToHoldAt()) {
        // Stopped here until a SIGCONT: a program caught between two steps, for the tests of
        // two programs at work in one folder.
        leaveNote(moment);
        ::raise(SIGSTOP);
    }
    const long target = pointToDieAt();
    if (target == 0 || count != target)
        return;
    leaveNote(moment);
    ::raise(SIGKILL);
}

} // namespace quintabel
