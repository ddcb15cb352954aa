#include "QtEventPump.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <climits>
#include <memory>

namespace ordwell {

void QtEventPump::DispatchPending() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtEventPump::WaitFor(std::uint32_t ms, const std::function<bool()>& stopRequested) {
    const QDeadlineTimer deadline(static_cast<qint64>(ms), Qt::PreciseTimer);
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);

    // The wake descriptor is never drained: after its first signal the
    // notifier is switched off, or it would fire in a loop.
    std::unique_ptr<QSocketNotifier> wake;
    if (m_wakeFd >= 0) {
        wake = std::make_unique<QSocketNotifier>(m_wakeFd, QSocketNotifier::Read);
        QSocketNotifier* notifier = wake.get();
        QObject::connect(notifier, &QSocketNotifier::activated, notifier, [notifier] { notifier->setEnabled(false); });
    }

    while (!stopRequested()) {
        const qint64 left = deadline.remainingTime();
        if (left <= 0) {
            return;
        }
        if (!timer.isActive()) {
            // A QTimer counts in int milliseconds; longer waits re-arm it.
            timer.start(static_cast<int>(std::min<qint64>(left, INT_MAX)));
        }
        // Sleeps until at least one event has come, the timer's included.
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
}

} // namespace ordwell
