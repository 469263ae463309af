#include "library/ui/PreferencesHost.h"

#include "library/ui/ListWindowManager.h"
#include "library/ui/MenuShortcuts.h"
#include "library/ui/Preferences.h"
#include "library/ui/frmPreferences.h"
#include "library/ui/frmStartup.h"
#include "library/ui/frmVoiceList.h"

namespace toneloft {

PreferencesHost::PreferencesHost(frmStartup& mainWindow, ListWindowManager& lists)
    : QObject(&mainWindow), m_main(mainWindow), m_lists(lists)
{
    applyKeyScheme(m_main, Preferences::keyScheme());
    m_main.setTabbedView(Preferences::tabbedView());
    m_main.setCommandHandler(MainCommand::EditPreferences, [this] { editPreferences(); });
    m_main.setCommandHandler(MainCommand::WindowTabbed, [this] {
        const bool tabbed = !m_main.tabbedView();
        m_main.setTabbedView(tabbed);
        Preferences::setTabbedView(tabbed);
    });
}

void PreferencesHost::editPreferences()
{
    frmPreferences dialog(&m_main);
    dialog.setKeyScheme(Preferences::keyScheme());
    dialog.setSlotNumbering(Preferences::slotNumbering());
    if (dialog.exec() != QDialog::Accepted)
        return;
    Preferences::setKeyScheme(dialog.keyScheme());
    Preferences::setSlotNumbering(dialog.slotNumbering());
    applyKeyScheme(m_main, dialog.keyScheme());
    // The lists draw their slot numbers from the stored setting.
    for (frmVoiceList* w : m_lists.windows())
        w->redraw();
}

} // namespace toneloft
