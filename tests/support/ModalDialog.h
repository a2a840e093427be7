#pragma once
// Answers a modal dialog from a test: `drive` runs on the dialog of type D once the code under
// test has shown it modally (polled from the event loop that exec() runs).
#include <QApplication>
#include <QTimer>
#include <functional>
#include <memory>

namespace testsupport {

template <class D>
void whenModalShown(std::function<void(D&)> drive) {
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [poll, drive] {
        auto* d = qobject_cast<D*>(QApplication::activeModalWidget());
        if (!d) {
            QTimer::singleShot(10, *poll);
            return;
        }
        drive(*d);
    };
    QTimer::singleShot(0, *poll);
}

}  // namespace testsupport
