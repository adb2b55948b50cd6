#pragma once
// Keeps the windows responsive during a long loop without paying for it on every pass.
//
// Handing control to the message loop costs a system call even when nothing is waiting;
// done before every row and every field of a transfer it was a seventh of the time a row
// takes to reach the server. A person notices nothing under a few hundredths of a second, so
// the loop yields when that long has passed since its last yield, or when it has something
// new to show (the progress bar moved), and skips the yield otherwise.
//
// The time is read from the kernel's coarse clock, which ticks every few milliseconds: read
// before every field of every row, the precise clock alone took a fortieth of a transfer's
// time, and a yield a few milliseconds early or late is not seen.

#include <cstdint>

namespace quintabel {

class EventPacer {
public:
    static constexpr int kIntervalMilliseconds = 10;

    // Processes pending events when `somethingToShow`, on the first call, or when the
    // interval has passed since the last yield.
    void yield(bool somethingToShow = false);

private:
    static constexpr std::int64_t kNever = -1;
    std::int64_t lastYieldMilliseconds_ = kNever;
};

} // namespace quintabel
