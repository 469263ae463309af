#pragma once

#include "app/cli/ConsoleUi.h"

#include <optional>
#include <string>
#include <vector>

namespace toneloft {

// The command-line tool's seam: boxes are answered and printed by ConsoleUi
// (unless muted, when a command reports them itself), remembered so a command
// can report what the program said, and the save dialog names a preset file.
class CliUi : public UiServices {
public:
    struct Box {
        std::string title;
        std::string text;
    };

    explicit CliUi(ConsoleUi& console) : m_console(console) {}

    bool muted = false;
    std::vector<Box> boxes;
    std::optional<std::string> saveFolder; // answer of the next save dialog
    std::optional<std::string> saveFile;

    MsgResult msgBox(const std::string& text, const std::string& title, MsgIcon icon,
                     MsgButtons buttons) override
    {
        boxes.push_back({title, text});
        if (muted)
            return m_console.answerFor(buttons);
        return m_console.msgBox(text, title, icon, buttons);
    }
    std::optional<std::string> inputBox(const std::string& prompt, const std::string& title,
                                        const std::string& defaultText) override
    {
        return m_console.inputBox(prompt, title, defaultText);
    }
    FileDialogResult fileDialog(const FileDialogRequest& request) override
    {
        if (request.mode == FileDialogRequest::Mode::Save && saveFolder && saveFile) {
            FileDialogResult r{false, *saveFolder, {*saveFile}};
            saveFolder.reset();
            saveFile.reset();
            return r;
        }
        return m_console.fileDialog(request);
    }
    std::optional<int> chooseSaveFormat(int currentType) override
    {
        return m_console.chooseSaveFormat(currentType);
    }
    void openHelp(const std::string& topic) override { m_console.openHelp(topic); }
    void setStatus(const std::string& text, bool visible, bool repaint) override
    {
        m_console.setStatus(text, visible, repaint);
    }
    void setBusy(bool busy) override { m_console.setBusy(busy); }
    void processEvents() override { m_console.processEvents(); }
    std::int64_t clock() override { return m_console.clock(); }

    // The texts shown since the mark, joined by " | " with line breaks folded.
    std::string messagesSince(std::size_t mark) const
    {
        std::string out;
        for (std::size_t i = mark; i < boxes.size(); ++i) {
            if (!out.empty())
                out += " | ";
            for (char c : boxes[i].text) {
                if (c == '\r')
                    continue;
                out += (c == '\n' || c == '\t') ? ' ' : c;
            }
        }
        return out;
    }

private:
    ConsoleUi& m_console;
};

} // namespace toneloft
