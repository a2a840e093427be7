#pragma once
// Answers a modal dialog from a test: `drive` runs on the dialog of type D once the code under
// test has shown it modally (polled from the event loop that exec() runs).
#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <functional>

namespace testsupport {

template <class D>
QPointer<QTimer> whenModalShown(std::function<void(D&)> drive) {
    // The poll timer belongs to the application and goes away once it has driven its dialog.
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, drive = std::move(drive)] {
        auto* d = qobject_cast<D*>(QApplication::activeModalWidget());
        if (!d) {
            poll->setInterval(10);
            return;
        }
        poll->stop();
        poll->deleteLater();
        drive(*d);
    });
    poll->start(0);
    // A caller whose dialog may never come deletes the poll, so it cannot drive a later one.
    return poll;
}

}  // namespace testsupport
