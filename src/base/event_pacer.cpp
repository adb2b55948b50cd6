#include "base/event_pacer.h"

#include <QCoreApplication>

#include <ctime>

namespace quintabel {

namespace {

std::int64_t coarseMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC_COARSE, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

} // namespace

void EventPacer::yield(bool somethingToShow)
{
    if (!somethingToShow && lastYieldMilliseconds_ != kNever
        && coarseMilliseconds() - lastYieldMilliseconds_ < kIntervalMilliseconds)
        return;
    QCoreApplication::processEvents();
    lastYieldMilliseconds_ = coarseMilliseconds();
}

} // namespace quintabel
