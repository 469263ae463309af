#pragma once

#include "midi/MidiStartupDialogs.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace toneloft::test {

// Answers the start-up dialogues from queues and records what they showed.
class ScriptedDialogs : public MidiStartupDialogs {
public:
    std::deque<int> missingAnswers;
    std::deque<int> testAnswers;
    // Applied to the configure dialogue before it closes with OK (or Cancel).
    std::deque<std::function<bool(MidiConfigureDialog&)>> configureActions;

    std::vector<MissingDeviceDialog> missingShown;
    std::vector<MidiConfigureDialog> configureShown;
    std::vector<std::string> testTexts;

    int showMissingDevice(const MissingDeviceDialog& d) override
    {
        missingShown.push_back(d);
        return take(missingAnswers, 1);
    }
    bool showMidiConfigure(MidiConfigureDialog& d) override
    {
        configureShown.push_back(d);
        if (configureActions.empty())
            return true;
        auto action = configureActions.front();
        configureActions.pop_front();
        return action(d);
    }
    int showInitialisationMessage(const std::string& text) override
    {
        testTexts.push_back(text);
        return take(testAnswers, 1);
    }

private:
    static int take(std::deque<int>& q, int fallback)
    {
        if (q.empty())
            return fallback;
        const int v = q.front();
        q.pop_front();
        return v;
    }
};

} // namespace toneloft::test
