#include "QtEventPump.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <climits>

namespace ordwell {

QtEventPump::QtEventPump(int wakeFd) {
    if (wakeFd < 0) {
        return;
    }
    // The wake descriptor is never drained: once it fired, a wait has woken
    // and sees the stop request; the watch then ends, or it would fire again
    // and again.
    auto* notifier = new QSocketNotifier(wakeFd, QSocketNotifier::Read);
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [notifier] { notifier->setEnabled(false); });
    m_sources.emplace(m_nextId++, notifier);
}

QtEventPump::~QtEventPump() {
    // Sources cancelled since the loop last turned wait for their deletion
    // (Cancel may run inside their own signal); no loop turns after this
    // one, and Qt would let them go with the process, not delete them.
    if (QCoreApplication::instance() != nullptr) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

EventPump::EventId QtEventPump::Watch(NativeHandle handle, Callback callback) {
    const EventId id = m_nextId++;
    auto notifier = std::make_unique<QSocketNotifier>(handle, QSocketNotifier::Read);
    QObject::connect(notifier.get(), &QSocketNotifier::activated, notifier.get(),
                     [callback = std::move(callback)] { callback(); });
    m_sources.emplace(id, std::move(notifier));
    return id;
}

EventPump::EventId QtEventPump::After(std::uint32_t ms, Callback callback) {
    const EventId id = m_nextId++;
    auto timer = std::make_unique<QTimer>();
    timer->setSingleShot(true);
    timer->setTimerType(Qt::PreciseTimer);
    QObject::connect(timer.get(), &QTimer::timeout, timer.get(), [this, id, callback = std::move(callback)] {
        // The timer is spent: forget it, but let Qt delete it once its signal
        // has returned. The callback is copied first, as it lives in the
        // connection that the deletion ends.
        const Callback run = callback;
        Cancel(id);
        run();
    });
    // A QTimer counts in int milliseconds.
    timer->start(static_cast<int>(std::min<std::uint32_t>(ms, INT_MAX)));
    m_sources.emplace(id, std::move(timer));
    return id;
}

void QtEventPump::Cancel(EventId id) {
    const auto found = m_sources.find(id);
    if (found == m_sources.end()) {
        return;
    }
    // Deleted later: this may run inside the source's own signal.
    QObject* source = found->second.release();
    m_sources.erase(found);
    if (auto* notifier = qobject_cast<QSocketNotifier*>(source)) {
        notifier->setEnabled(false);
    } else if (auto* timer = qobject_cast<QTimer*>(source)) {
        timer->stop();
    }
    source->deleteLater();
}

void QtEventPump::DispatchPending() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

bool QtEventPump::WaitFor(std::uint32_t ms, const std::function<bool()>& done) {
    const QDeadlineTimer deadline(static_cast<qint64>(ms), Qt::PreciseTimer);
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    while (!done()) {
        const qint64 left = deadline.remainingTime();
        if (left <= 0) {
            return false;
        }
        if (!timer.isActive()) {
            // A QTimer counts in int milliseconds; longer waits re-arm it.
            timer.start(static_cast<int>(std::min<qint64>(left, INT_MAX)));
        }
        // Sleeps until at least one event has come, the timer's included.
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    return true;
}

} // namespace ordwell
