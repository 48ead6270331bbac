// Runs the application's event loop around an action, for tests of what ends
// the program or needs a modal loop to be answered.
#pragma once

#include <QApplication>
#include <QTimer>

#include <functional>

namespace fake {

// What QApplication::exec() returned, or kNotEnded when the loop was still
// running after timeoutMs and the guard ended it. The default bound is for a
// loop that must end: far beyond what a busy machine needs, it only keeps a
// failing test from hanging.
inline constexpr int kNotEnded = -4711;

inline int execAround(const std::function<void()>& action, int timeoutMs = 60000)
{
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(kNotEnded); });
    guard.start(timeoutMs);
    QTimer::singleShot(0, action);
    const int rc = QApplication::exec();
    guard.stop();
    return rc;
}

}  // namespace fake
