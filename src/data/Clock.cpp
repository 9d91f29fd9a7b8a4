#include "data/Clock.h"

#include <QElapsedTimer>
#include <optional>

namespace {
QDateTime fixedMoment;
std::optional<quint32> fixedTicks;
} // namespace

QDateTime Clock::now() {
    return fixedMoment.isValid() ? fixedMoment : QDateTime::currentDateTime();
}

void Clock::setFixed(const QDateTime &moment) {
    fixedMoment = moment;
}

void Clock::reset() {
    fixedMoment = QDateTime();
    fixedTicks.reset();
}

quint32 Clock::tickCount() {
    if (fixedTicks)
        return *fixedTicks;
    QElapsedTimer timer;
    timer.start();
    return static_cast<quint32>(timer.msecsSinceReference());
}

void Clock::setTickCount(quint32 ticks) {
    fixedTicks = ticks;
}

void Clock::advanceTicks(quint32 milliseconds) {
    fixedTicks = tickCount() + milliseconds;
}
