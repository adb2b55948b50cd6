#include "base/event_pacer.h"

#include <QCoreApplication>

namespace quintabel {

void EventPacer::yield(bool somethingToShow)
{
    if (!somethingToShow && sinceLastYield_.isValid()
        && sinceLastYield_.elapsed() < kIntervalMilliseconds)
        return;
    QCoreApplication::processEvents();
    sinceLastYield_.start();
}

} // namespace quintabel
