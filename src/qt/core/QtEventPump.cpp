#include "qt/core/QtEventPump.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <chrono>
#include <limits>

namespace vindle {

QtEventPump::QtEventPump()
{
    wakeUp_.setSingleShot(true);
    wakeUp_.setTimerType(Qt::PreciseTimer);
}

void QtEventPump::yieldOnce()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtEventPump::waitFor(Clock::Duration limit)
{
    if (limit <= Clock::Duration::zero()) {
        yieldOnce();
        return;
    }
    if (limit != kNoLimit) {
        const auto ms = std::chrono::ceil<std::chrono::milliseconds>(limit).count();
        wakeUp_.start(static_cast<int>(std::min<long long>(ms, std::numeric_limits<int>::max())));
    }
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    wakeUp_.stop();
}

} // namespace vindle
