#include "common/UiServices.h"

#include <iostream>

namespace toneloft {

void UiServices::log(const std::string& line)
{
    std::clog << "Toneloft: " << line << '\n';
}

void UiServices::waitForEvents(std::int64_t)
{
    processEvents();
}

bool UiServices::post(std::function<void()>)
{
    return false;
}

void ShowStatus(UiServices& ui, const std::string& text, int delayMs, int mode, bool refresh)
{
    if (text.empty() && delayMs == 0 && (mode == 0 || mode == 2)) {
        ui.setStatus("", false, refresh);
        return;
    }
    if (mode != 2)
        ui.setStatus(text + "  ", true, refresh);
    if (delayMs > 0)
        Pause(ui, delayMs);
    if (mode == 0 || mode == 2)
        ui.setStatus("", false, refresh);
}

void Pause(UiServices& ui, std::int64_t ms)
{
    const std::int64_t start = ui.clock();
    do {
        ui.waitForEvents(ms - (ui.clock() - start));
    } while (ui.clock() - start < ms);
}

BusyPointer::BusyPointer(UiServices& ui) : m_ui(ui)
{
    m_ui.setBusy(true);
}

BusyPointer::~BusyPointer()
{
    m_ui.setBusy(false);
}

} // namespace toneloft
