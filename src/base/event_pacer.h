#pragma once
// Keeps the windows responsive during a long loop without paying for it on every pass.
//
// Handing control to the message loop costs a system call even when nothing is waiting;
// done before every row and every field of a transfer it was a seventh of the time a row
// takes to reach the server. A person notices nothing under a few hundredths of a second, so
// the loop yields when that long has passed since its last yield, or when it has something
// new to show (the progress bar moved), and skips the yield otherwise.

#include <QElapsedTimer>

namespace quintabel {

class EventPacer {
public:
    static constexpr int kIntervalMilliseconds = 10;

    // Processes pending events when `somethingToShow`, on the first call, or when the
    // interval has passed since the last yield.
    void yield(bool somethingToShow = false);

private:
    QElapsedTimer sinceLastYield_;
};

} // namespace quintabel
