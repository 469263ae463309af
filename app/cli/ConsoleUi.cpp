#include "app/cli/ConsoleUi.h"

#include <iostream>
#include <thread>

namespace toneloft {

namespace {

// Message texts break lines with CR LF; the console wants plain newlines.
std::string consoleLines(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out.push_back('\n');
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

} // namespace

ConsoleUi::ConsoleUi(Policy policy, bool verbose) : ConsoleUi(policy, verbose, std::cerr) {}

ConsoleUi::ConsoleUi(Policy policy, bool verbose, std::ostream& err)
    : m_policy(policy), m_verbose(verbose), m_err(err), m_start(std::chrono::steady_clock::now())
{
}

MsgResult ConsoleUi::answerFor(MsgButtons buttons) const
{
    const bool no = m_policy == Policy::AnswerNo;
    switch (buttons) {
    case MsgButtons::OK: return MsgResult::OK;
    case MsgButtons::OKCancel: return no ? MsgResult::Cancel : MsgResult::OK;
    case MsgButtons::YesNo:
    case MsgButtons::YesNoCancel: return no ? MsgResult::No : MsgResult::Yes;
    // Retrying cannot help when nobody is there to fix the cause; with --no stop instead.
    case MsgButtons::RetryCancel: return no ? MsgResult::Cancel : MsgResult::Retry;
    case MsgButtons::AbortRetryIgnore: return MsgResult::Abort;
    }
    return MsgResult::OK;
}

MsgResult ConsoleUi::msgBox(const std::string& text, const std::string& title, MsgIcon,
                            MsgButtons buttons)
{
    m_err << consoleLines(title) << ": " << consoleLines(text) << '\n' << std::flush;
    return answerFor(buttons);
}

std::optional<std::string> ConsoleUi::inputBox(const std::string& prompt, const std::string& title,
                                               const std::string& defaultText)
{
    if (m_verbose)
        m_err << consoleLines(title) << ": " << consoleLines(prompt) << " [" << defaultText
              << "]\n"
              << std::flush;
    return defaultText;
}

FileDialogResult ConsoleUi::fileDialog(const FileDialogRequest&)
{
    return {};
}

std::optional<int> ConsoleUi::chooseSaveFormat(int currentType)
{
    return m_saveFormat.value_or(currentType);
}

void ConsoleUi::openHelp(const std::string&) {}

void ConsoleUi::setStatus(const std::string& text, bool, bool)
{
    if (!m_verbose)
        return;
    // ShowStatus pads the label with two blanks; they mean nothing on a console.
    const std::size_t end = text.find_last_not_of(' ');
    if (end == std::string::npos)
        return;
    m_err << consoleLines(text.substr(0, end + 1)) << '\n' << std::flush;
}

void ConsoleUi::setBusy(bool) {}

// Nothing to process on a console; yield the core so a timed wait doesn't spin.
void ConsoleUi::processEvents()
{
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

std::int64_t ConsoleUi::clock()
{
    const auto elapsed = std::chrono::steady_clock::now() - m_start;
    return std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count();
}

} // namespace toneloft
