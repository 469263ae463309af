#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

namespace toneloft::test {

// Acts on the next modal dialog once it is up, so a test can drive code that
// calls exec(). Gives up after a bounded number of event-loop turns and closes
// whatever is modal, so a test fails rather than hangs.
inline void onNextModal(std::function<void(QWidget*)> action, int attempts = 500)
{
    auto tries = std::make_shared<int>(attempts);
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [tries, poll, action = std::move(action)] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            action(modal);
            *poll = nullptr;
            return;
        }
        if (--*tries > 0) {
            QTimer::singleShot(1, *poll);
            return;
        }
        *poll = nullptr;
    };
    QTimer::singleShot(0, *poll);
}

} // namespace toneloft::test
