#pragma once

#include "common/UiServices.h"

#include <chrono>
#include <iosfwd>
#include <optional>
#include <string>

namespace toneloft {

// UiServices for toneloft-cli: nobody sits at the desk, so every box is written
// to the error stream as "TITLE: TEXT" and answered by a fixed policy, dialogs
// come back cancelled, and waits run on the real clock.
class ConsoleUi : public UiServices {
public:
    enum class Policy {
        FirstButton, // OK, Yes, Retry, Abort
        AnswerYes,   // --yes: the same as FirstButton, said explicitly
        AnswerNo,    // --no: Yes/No boxes say No, OK/Cancel and Retry/Cancel say Cancel
    };

    explicit ConsoleUi(Policy policy = Policy::FirstButton, bool verbose = false);
    // For tests and redirection: boxes and status texts go to err instead of stderr.
    ConsoleUi(Policy policy, bool verbose, std::ostream& err);

    void setVerbose(bool verbose) { m_verbose = verbose; }
    // The file type 0..3 the save format dialog answers; nullopt keeps the current one.
    void setSaveFormat(std::optional<int> type) { m_saveFormat = type; }

    MsgResult msgBox(const std::string& text, const std::string& title, MsgIcon icon,
                     MsgButtons buttons) override;
    std::optional<std::string> inputBox(const std::string& prompt, const std::string& title,
                                        const std::string& defaultText) override;
    FileDialogResult fileDialog(const FileDialogRequest& request) override;
    std::optional<int> chooseSaveFormat(int currentType) override;
    void openHelp(const std::string& topic) override;
    void setStatus(const std::string& text, bool areaVisible, bool repaintMain) override;
    void setBusy(bool busy) override;
    void processEvents() override;
    std::int64_t clock() override;

    MsgResult answerFor(MsgButtons buttons) const;

private:
    Policy m_policy;
    bool m_verbose;
    std::ostream& m_err;
    std::optional<int> m_saveFormat;
    std::chrono::steady_clock::time_point m_start;
};

} // namespace toneloft
