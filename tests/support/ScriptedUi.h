#pragma once

#include "common/UiServices.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace toneloft::test {

// A UiServices that answers from queues and records everything shown. Its clock
// is fake: every processEvents() advances it by tickMs, so waits of seconds run
// at once and time exactly. A box with no queued answer takes its default button
// (the first: OK, Yes, Retry, Abort) and is recorded all the same.
class ScriptedUi : public UiServices {
public:
    struct Box {
        std::string text;
        std::string title;
        MsgIcon icon;
        MsgButtons buttons;
        MsgResult answer;
        std::string helpTopic; // empty: the box had no Help button
    };
    struct Status {
        std::string text;
        bool visible;
    };

    std::deque<MsgResult> answers;
    // Times Help is pressed in the next box that offers it, before its answer.
    int helpPresses = 0;
    std::deque<std::optional<std::string>> inputAnswers;
    std::deque<FileDialogResult> fileAnswers;
    std::deque<std::optional<int>> formatAnswers;

    std::vector<Box> boxes;
    std::vector<std::string> inputPrompts;
    std::vector<FileDialogRequest> fileRequests;
    std::vector<int> formatRequests;
    std::vector<std::string> helpTopics;
    std::vector<Status> statuses;
    std::vector<std::string> logLines;
    int busyDepth = 0;
    int maxBusyDepth = 0;
    long eventsProcessed = 0;

    std::int64_t now = 0;
    std::int64_t tickMs = 1;
    // Runs inside processEvents(), after the clock has advanced: lets a test act
    // at a given time (deliver MIDI input, press a button).
    std::function<void(ScriptedUi&)> onEvents;

    MsgResult msgBox(const std::string& text, const std::string& title, MsgIcon icon,
                     MsgButtons buttons) override
    {
        MsgResult answer = defaultAnswer(buttons);
        if (!answers.empty()) {
            answer = answers.front();
            answers.pop_front();
        }
        boxes.push_back({text, title, icon, buttons, answer, {}});
        return answer;
    }

    MsgResult msgBoxWithHelp(const std::string& text, const std::string& title, MsgIcon icon,
                             MsgButtons buttons, const std::string& helpTopic) override
    {
        for (; helpPresses > 0; --helpPresses)
            openHelp(helpTopic);
        const MsgResult answer = msgBox(text, title, icon, buttons);
        boxes.back().helpTopic = helpTopic;
        return answer;
    }

    std::optional<std::string> inputBox(const std::string& prompt, const std::string&,
                                        const std::string& defaultText) override
    {
        inputPrompts.push_back(prompt);
        if (inputAnswers.empty())
            return defaultText;
        auto a = inputAnswers.front();
        inputAnswers.pop_front();
        return a;
    }

    FileDialogResult fileDialog(const FileDialogRequest& request) override
    {
        fileRequests.push_back(request);
        if (fileAnswers.empty())
            return {};
        auto a = fileAnswers.front();
        fileAnswers.pop_front();
        return a;
    }

    std::optional<int> chooseSaveFormat(int currentType) override
    {
        formatRequests.push_back(currentType);
        if (formatAnswers.empty())
            return currentType;
        auto a = formatAnswers.front();
        formatAnswers.pop_front();
        return a;
    }

    void openHelp(const std::string& topic) override { helpTopics.push_back(topic); }

    void setStatus(const std::string& text, bool visible, bool) override
    {
        statuses.push_back({text, visible});
    }

    void setBusy(bool busy) override
    {
        busyDepth += busy ? 1 : -1;
        if (busyDepth > maxBusyDepth)
            maxBusyDepth = busyDepth;
    }

    void log(const std::string& line) override { logLines.push_back(line); }

    // Cancel offered while cancellable; a test presses it by setting cancelPressed.
    bool cancellable = false;
    bool cancelPressed = false;
    void setCancellable(bool on) override
    {
        cancellable = on;
        cancelPressed = false;
    }
    bool cancelRequested() override { return cancellable && cancelPressed; }

    void processEvents() override
    {
        ++eventsProcessed;
        now += tickMs;
        if (onEvents)
            onEvents(*this);
    }

    std::int64_t clock() override { return now; }

    // Convenience for tests.
    static FileDialogResult chose(const std::string& folder, std::vector<std::string> files)
    {
        return {false, folder, std::move(files)};
    }
    bool sawStatus(const std::string& text) const
    {
        for (const auto& s : statuses)
            if (s.text == text)
                return true;
        return false;
    }
    const Box& lastBox() const { return boxes.back(); }

private:
    static MsgResult defaultAnswer(MsgButtons b)
    {
        switch (b) {
        case MsgButtons::YesNo:
        case MsgButtons::YesNoCancel: return MsgResult::Yes;
        case MsgButtons::RetryCancel: return MsgResult::Retry;
        case MsgButtons::AbortRetryIgnore: return MsgResult::Abort;
        default: return MsgResult::OK;
        }
    }
};

} // namespace toneloft::test
