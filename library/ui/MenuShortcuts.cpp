#include "library/ui/MenuShortcuts.h"

#include "library/ui/frmStartup.h"

#include <QAction>
#include <QKeySequence>

namespace toneloft {

namespace {

const char* const kClassicKeysProperty = "classicShortcuts";

struct StandardKeys {
    MainCommand command;
    const char* keys; // portable text; the first is the one the menu shows
};

// The desktop's keys; the classic Ctrl+Ins/Shift+Ins/Shift+Del stay as second
// keys, as most desktop programs keep them. Ctrl+V is Paste, so Save Voice
// moves to Ctrl+Shift+V; Ctrl+A is Select All, so Save As moves to Ctrl+Shift+S.
constexpr StandardKeys kStandard[] = {
    {MainCommand::FileExit, "Ctrl+Q"},
    {MainCommand::FileSave, "Ctrl+S"},
    {MainCommand::FileSaveAs, "Ctrl+Shift+S"},
    {MainCommand::FileSaveVoice, "Ctrl+Shift+V"},
    {MainCommand::EditUndo, "Ctrl+Z"},
    {MainCommand::EditRedo, "Ctrl+Shift+Z; Ctrl+Y"},
    {MainCommand::EditCut, "Ctrl+X; Shift+Del"},
    {MainCommand::EditCopy, "Ctrl+C; Ctrl+Ins"},
    {MainCommand::EditPaste, "Ctrl+V; Shift+Ins"},
    {MainCommand::EditSelectAll, "Ctrl+A"},
};

QList<QKeySequence> keysOf(const char* text)
{
    return QKeySequence::listFromString(QString::fromLatin1(text), QKeySequence::PortableText);
}

} // namespace

void applyKeyScheme(frmStartup& mainWindow, Preferences::KeyScheme scheme)
{
    for (const StandardKeys& entry : kStandard) {
        QAction* a = mainWindow.action(entry.command);
        if (!a)
            continue;
        if (!a->property(kClassicKeysProperty).isValid())
            a->setProperty(kClassicKeysProperty, QVariant::fromValue(a->shortcuts()));
        a->setShortcuts(scheme == Preferences::KeyScheme::Standard
                            ? keysOf(entry.keys)
                            : a->property(kClassicKeysProperty).value<QList<QKeySequence>>());
    }
}

} // namespace toneloft
