#pragma once

#include <QObject>

namespace toneloft {

class ListWindowManager;
class frmStartup;

// Edit > Preferences and Window > Tabbed, remembered between runs: puts the
// stored key scheme on the menus and the stored view mode on the window area
// when it is made, and stores and applies what the user changes.
class PreferencesHost : public QObject {
    Q_OBJECT

public:
    PreferencesHost(frmStartup& mainWindow, ListWindowManager& lists);

    // The dialog, modal; stores and applies its values on OK.
    void editPreferences();

private:
    frmStartup& m_main;
    ListWindowManager& m_lists;
};

} // namespace toneloft
