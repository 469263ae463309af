#pragma once

#include "common/ui/QtUiServices.h"
#include "common/ui/StatusStrip.h"

#include <QApplication>
#include <QPointer>
#include <QSplashScreen>

#include <vector>

namespace toneloft::test {

// The real Qt services with a clock that advances 10 ms per event-loop turn, so
// waits of seconds run at once. Every turn notes what the status strip and the
// splash window look like at that moment.
class FakeClockUi : public QtUiServices {
public:
    struct Moment {
        std::int64_t at;
        QString status;
        bool statusShown;
        bool splashShown;
    };

    std::int64_t now = 0;
    QPointer<StatusStrip> strip;
    std::vector<Moment> moments;

    void processEvents() override
    {
        QtUiServices::processEvents();
        now += 10;
        bool splash = false;
        for (QWidget* w : QApplication::topLevelWidgets())
            splash = splash || (qobject_cast<QSplashScreen*>(w) && w->isVisible());
        moments.push_back({now, strip ? strip->text() : QString(), strip && !strip->isHidden(), splash});
    }

    // No real waiting: the fake clock is the one that passes.
    void waitForEvents(std::int64_t) override { processEvents(); }

    std::int64_t clock() override { return now; }

    // How long the status strip showed this text, in fake milliseconds.
    std::int64_t shownFor(const QString& text) const
    {
        std::int64_t first = -1;
        std::int64_t last = -1;
        for (const auto& m : moments)
            if (m.statusShown && m.status == text) {
                if (first < 0)
                    first = m.at;
                last = m.at;
            }
        return first < 0 ? 0 : last - first + 10;
    }
};

} // namespace toneloft::test
