#include "library/ui/frmStartup.h"

#include "common/UiServices.h"
#include "common/ui/AboutWindow.h"
#include "common/ui/HelpTopics.h"
#include "common/ui/HelpWindow.h"
#include "common/ui/QtUiServices.h"
#include "common/ui/StatusStrip.h"
#include "common/ui/ToolbarIcons.h"
#include "common/ui/MdiChild.h"
#include "library/ui/WindowMenu.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QToolBar>
#include <QVBoxLayout>

namespace toneloft {

namespace {

const char* const kHelpContextProperty = "helpContext";
const char* const kKeyProperty = "key";

MdiChild* childOf(const QMdiSubWindow* window)
{
    return window ? dynamic_cast<MdiChild*>(window->widget()) : nullptr;
}

} // namespace

frmStartup::frmStartup(UiServices* ui, QWidget* parent)
    : QMainWindow(parent), m_ui(ui), m_mdi(new QMdiArea(this)), m_strip(new StatusStrip(this))
{
    setObjectName(QStringLiteral("frmStartup"));
    setWindowTitle(QStringLiteral("Toneloft"));
    setWindowIcon(ToolbarIcons::programIcon());
    resize(1024, 720);

    if (!m_ui) {
        m_ownUi = std::make_unique<QtUiServices>(this);
        m_ui = m_ownUi.get();
    }
    if (auto* qtUi = dynamic_cast<QtUiServices*>(m_ui)) {
        qtUi->setMainWindow(this);
        qtUi->setStatusStrip(m_strip);
        qtUi->setHelpHandler([this](const std::string& topic) {
            openHelp(QString::fromStdString(topic));
        });
    }

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_mdi->setObjectName(QStringLiteral("MDIArea"));
    // Windows tiled beyond a small screen stay within reach.
    m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    layout->addWidget(m_mdi, 1);
    layout->addWidget(m_strip);
    m_strip->hide();
    setCentralWidget(central);

    createMenus();
    createToolbar();
    installDefaultHandlers();
    applyCommandState();

    connect(m_mdi, &QMdiArea::subWindowActivated, this, &frmStartup::childActivated);
    // The help request: F1 anywhere in the main window that nothing else takes.
    auto* help = new QShortcut(QKeySequence::HelpContents, this);
    connect(help, &QShortcut::activated, this, &frmStartup::helpRequested);
}

frmStartup::~frmStartup()
{
    // The area outlives this part of the window and reports its children going.
    disconnect(m_mdi, nullptr, this, nullptr);
}

QString frmStartup::programDirectory() const
{
    return QCoreApplication::applicationDirPath();
}

void frmStartup::createMenus()
{
    for (const auto& top : mainTopMenus()) {
        QMenu* menu = menuBar()->addMenu(QString::fromLatin1(top.caption));
        menu->setObjectName(QString::fromLatin1(top.name));
        menu->installEventFilter(this);
        m_menus[menu->objectName()] = menu;
    }
    for (const auto& e : mainMenuEntries()) {
        QMenu* parent = m_menus.at(QString::fromLatin1(e.parent));
        const QString name = QString::fromLatin1(e.name);
        QAction* a = nullptr;
        if (QLatin1String(e.caption) == QLatin1String("-")) {
            a = parent->addSeparator();
        } else if (e.submenu) {
            QMenu* sub = parent->addMenu(QString::fromLatin1(e.caption));
            sub->setObjectName(name);
            sub->installEventFilter(this);
            m_menus[name] = sub;
            a = sub->menuAction();
        } else {
            a = parent->addAction(QString::fromLatin1(e.caption));
            a->setShortcut(QKeySequence(QString::fromLatin1(e.shortcut), QKeySequence::PortableText));
            const MainCommand command = e.command;
            m_actions[command] = a;
            connect(a, &QAction::triggered, this, [this, parent, command] {
                // A disabled submenu hides its entries, shortcuts included.
                if (parent->menuAction()->isEnabled())
                    runCommand(command);
            });
        }
        a->setObjectName(name);
        a->setEnabled(e.enabledAtStart);
        if (e.helpContext != 0)
            a->setProperty(kHelpContextProperty, e.helpContext);
        m_entries[name] = a;
    }
    action(MainCommand::EditUndo)->setShortcuts({action(MainCommand::EditUndo)->shortcut(), QKeySequence(Qt::ALT | Qt::Key_Backspace)});
    action(MainCommand::MidiInputOn)->setCheckable(true);
    action(MainCommand::MidiShowManager)->setCheckable(true);
    action(MainCommand::WindowTabbed)->setCheckable(true);
    new WindowMenu(m_mdi, m_menus.at(QStringLiteral("Window")), this);
}

void frmStartup::createToolbar()
{
    m_toolbar = addToolBar(QStringLiteral("Toolbar"));
    m_toolbar->setObjectName(QStringLiteral("Toolbar1"));
    m_toolbar->setMovable(false);
    m_toolbar->setIconSize(QSize(24, 24));
    for (const auto& t : mainToolbarEntries()) {
        const QString key = QString::fromLatin1(t.key);
        if (key.isEmpty()) {
            m_toolButtons.push_back(m_toolbar->addSeparator());
            continue;
        }
        QAction* a = m_toolbar->addAction(ToolbarIcons::icon(key), key);
        a->setToolTip(QString::fromLatin1(t.tooltip));
        a->setProperty(kKeyProperty, key);
        connect(a, &QAction::triggered, this, [this, key] { toolbarClicked(key); });
        m_toolButtons.push_back(a);
    }
}

QAction* frmStartup::action(MainCommand command) const
{
    const auto it = m_actions.find(command);
    return it == m_actions.end() ? nullptr : it->second;
}

QAction* frmStartup::menuEntry(const QString& name) const
{
    const auto it = m_entries.find(name);
    return it == m_entries.end() ? nullptr : it->second;
}

QMenu* frmStartup::topMenu(const QString& name) const
{
    const auto it = m_menus.find(name);
    return it == m_menus.end() ? nullptr : it->second;
}

QAction* frmStartup::toolButton(const QString& key) const
{
    for (QAction* a : m_toolButtons)
        if (a->property(kKeyProperty).toString() == key)
            return a;
    return nullptr;
}

QAction* frmStartup::toolButtonAt(int position) const
{
    if (position < 1 || position > static_cast<int>(m_toolButtons.size()))
        return nullptr;
    return m_toolButtons[static_cast<std::size_t>(position - 1)];
}

// --- Enabling ---------------------------------------------------------------

void frmStartup::setCommandState(const CommandState& state)
{
    m_state = state;
    applyCommandState();
}

void frmStartup::setListCommands(bool active, long totalSelections, bool clipboardHasVoices)
{
    m_state.listActive = active;
    m_state.findNext = active;
    m_state.totalSelections = totalSelections;
    m_state.clipboardHasVoices = clipboardHasVoices;
    applyCommandState();
}

void frmStartup::setFindNextEnabled(bool enabled)
{
    m_state.findNext = enabled;
    applyCommandState();
}

void frmStartup::setEditorCommands(bool editorActive)
{
    m_state.editorActive = editorActive;
    applyCommandState();
}

void frmStartup::setOpenListCount(long count)
{
    m_state.openLists = count;
    applyCommandState();
}

void frmStartup::setMidiDevicesOpen(bool inputOpen, bool outputOpen)
{
    m_state.midiInputOpen = inputOpen;
    m_state.midiOutputOpen = outputOpen;
    applyCommandState();
}

void frmStartup::applyCommandState()
{
    const CommandState& s = m_state;
    auto set = [this](MainCommand c, bool on) {
        if (QAction* a = action(c))
            a->setEnabled(on);
    };
    const bool list = s.listActive;
    const bool selected = list && s.totalSelections > 0;
    for (auto c : {MainCommand::EditCut, MainCommand::EditCopy, MainCommand::EditDelete})
        set(c, selected);
    set(MainCommand::EditPaste, list && s.clipboardHasVoices);
    for (auto c : {MainCommand::EditFind, MainCommand::EditSort, MainCommand::EditFindDuplicates,
                   MainCommand::EditGroupPatches, MainCommand::FileSave, MainCommand::FileSaveAs,
                   MainCommand::FilePrintVoiceList})
        set(c, list);
    set(MainCommand::EditFindNext, s.findNext);
    set(MainCommand::FileSaveVoice, s.editorActive);
    set(MainCommand::FilePrintVoiceData, s.editorActive);
    const bool anyList = s.openLists > 0;
    set(MainCommand::FileClose, anyList);
    set(MainCommand::FileCloseAll, anyList);
    set(MainCommand::ToolsPatchGenerator, anyList);

    menuEntry(QStringLiteral("mnuMIDI(0)"))->setEnabled(s.sendMenu);
    menuEntry(QStringLiteral("mnuMIDI(1)"))->setEnabled(s.receiveMenu);
    menuEntry(QStringLiteral("mnuMIDI(2)"))->setEnabled(s.optionsMenu);
    set(MainCommand::MidiSendVoice, s.sendVoiceAndBank);
    set(MainCommand::MidiSendBank, s.sendVoiceAndBank);
    set(MainCommand::MidiInputOn, s.midiInputOnEnabled);
    action(MainCommand::MidiInputOn)->setChecked(s.midiInputOnTicked);
    action(MainCommand::MidiShowManager)->setChecked(s.midiManagerTicked);

    // The editing buttons sit at 6 Cut, 7 Copy, 8 Delete, 9 Paste.
    toolButtonAt(6)->setEnabled(selected);
    toolButtonAt(7)->setEnabled(selected);
    toolButtonAt(8)->setEnabled(selected);
    toolButtonAt(9)->setEnabled(list && s.clipboardHasVoices);
    toolButton(QStringLiteral("Receive Bank"))->setEnabled(s.receiveBankButton);
    toolButton(QStringLiteral("Send Bank"))->setEnabled(s.sendBankButton);
}

// --- Commands ---------------------------------------------------------------

QString frmStartup::notAvailableText(const QString& caption)
{
    QString name = caption;
    name.remove(QLatin1Char('&'));
    while (name.endsWith(QLatin1Char('.')))
        name.chop(1);
    return name.trimmed() + QStringLiteral(" is not available yet.");
}

void frmStartup::setCommandHandler(MainCommand command, std::function<void()> handler)
{
    if (handler)
        m_handlers[command] = std::move(handler);
    else
        m_handlers.erase(command);
}

bool frmStartup::editCommandAllowed() const
{
    const MdiChild* child = activeChild();
    return child && child->childKind() == MdiChild::Kind::VoiceList && !child->renameInProgress();
}

void frmStartup::runCommand(MainCommand command)
{
    switch (command) {
    case MainCommand::EditCut:
    case MainCommand::EditCopy:
    case MainCommand::EditPaste:
    case MainCommand::EditDelete:
    case MainCommand::EditFind:
    case MainCommand::EditFindNext:
    case MainCommand::EditSort:
    case MainCommand::EditFindDuplicates:
    case MainCommand::EditGroupPatches:
        if (!editCommandAllowed())
            return;
        break;
    default: break;
    }
    const auto it = m_handlers.find(command);
    if (it != m_handlers.end()) {
        it->second();
        return;
    }
    if (QAction* a = action(command))
        ui().MsgBox(notAvailableText(a->text()).toStdString(), "Toneloft", MsgIcon::Information);
}

void frmStartup::toolbarClicked(const QString& key)
{
    static const std::map<QString, MainCommand> byKey{
        {QStringLiteral("New File"), MainCommand::FileNew},
        {QStringLiteral("Open File"), MainCommand::FileOpen},
        {QStringLiteral("Save File"), MainCommand::FileSave},
        {QStringLiteral("Cut"), MainCommand::EditCut},
        {QStringLiteral("Copy"), MainCommand::EditCopy},
        {QStringLiteral("Delete"), MainCommand::EditDelete},
        {QStringLiteral("Paste"), MainCommand::EditPaste},
        {QStringLiteral("MIDI devices"), MainCommand::MidiDevices},
        {QStringLiteral("Receive Bank"), MainCommand::MidiReceiveBank},
        {QStringLiteral("Send Bank"), MainCommand::MidiSendBank},
    };
    if (key == QLatin1String("Print Voice")) {
        const MdiChild* child = activeChild();
        if (!child)
            return;
        if (child->childKind() == MdiChild::Kind::VoiceEditor)
            runCommand(MainCommand::FilePrintVoiceData);
        else if (child->childKind() == MdiChild::Kind::VoiceList)
            runCommand(MainCommand::FilePrintVoiceList);
        return;
    }
    const auto it = byKey.find(key);
    if (it != byKey.end())
        runCommand(it->second);
}

void frmStartup::installDefaultHandlers()
{
    m_handlers[MainCommand::FileExit] = [this] { close(); };
    m_handlers[MainCommand::EditUndo] = [this] {
        if (MdiChild* c = activeChild(); c && c->canUndo())
            c->undo();
        refreshEditCommands();
    };
    m_handlers[MainCommand::EditRedo] = [this] {
        if (MdiChild* c = activeChild(); c && c->canRedo())
            c->redo();
        refreshEditCommands();
    };
    m_handlers[MainCommand::EditSelectAll] = [this] {
        if (MdiChild* c = activeChild(); c && c->canSelectAll())
            c->selectAll();
        refreshEditCommands();
    };
    m_handlers[MainCommand::FileClose] = [this] {
        if (QMdiSubWindow* w = listWindowToClose())
            w->close();
    };
    m_handlers[MainCommand::FileCloseAll] = [this] {
        for (QMdiSubWindow* w : voiceListWindows()) {
            QPointer<QMdiSubWindow> alive(w);
            if (alive)
                alive->close();
        }
    };
    m_handlers[MainCommand::MidiDevices] = [this] { runMidiDevices(); };
    m_handlers[MainCommand::WindowCascade] = [this] { m_mdi->cascadeSubWindows(); };
    m_handlers[MainCommand::WindowTile] = [this] { WindowMenu::tileVertically(m_mdi); };
    m_handlers[MainCommand::WindowArrangeIcons] = [this] { WindowMenu::arrangeIcons(m_mdi); };
    m_handlers[MainCommand::WindowTabbed] = [this] { setTabbedView(!tabbedView()); };
    auto showHelpTab = [this](int tab) {
        HelpWindow& help = helpWindow();
        help.showTab(static_cast<HelpWindow::Tab>(tab));
        help.show();
        help.raise();
        help.activateWindow();
    };
    m_handlers[MainCommand::HelpContents] = [showHelpTab] { showHelpTab(0); };
    m_handlers[MainCommand::HelpIndex] = [showHelpTab] { showHelpTab(1); };
    m_handlers[MainCommand::HelpSearch] = [showHelpTab] { showHelpTab(2); };
    m_handlers[MainCommand::HelpQuickTour] = [this] { openHelp(QStringLiteral("2420")); };
    m_handlers[MainCommand::HelpTechnicalSupport] = [this] { openHelp(QStringLiteral("2440")); };
    m_handlers[MainCommand::HelpAbout] = [this] { showAbout(); };
    // One conversion window for the run; it keeps its folder between uses.
}

void frmStartup::showAbout()
{
    if (!m_about)
        m_about = new AboutWindow(this);
    m_about->exec();
}

// --- Child windows ----------------------------------------------------------

QMdiSubWindow* frmStartup::addChild(QWidget* child)
{
    QMdiSubWindow* window = m_mdi->addSubWindow(child);
    window->setAttribute(Qt::WA_DeleteOnClose);
    if (MdiChild* c = childOf(window))
        c->editCommandsChanged = [this] { refreshEditCommands(); };
    child->show();
    m_mdi->setActiveSubWindow(window);
    refreshEditCommands();
    return window;
}

void frmStartup::refreshEditCommands()
{
    const MdiChild* child = activeChild();
    const bool renaming = child && child->renameInProgress();
    auto set = [this](MainCommand c, bool on) {
        if (QAction* a = action(c))
            a->setEnabled(on);
    };
    set(MainCommand::EditUndo, child && !renaming && child->canUndo());
    set(MainCommand::EditRedo, child && !renaming && child->canRedo());
    set(MainCommand::EditSelectAll, child && !renaming && child->canSelectAll());
}

MdiChild* frmStartup::activeChild() const
{
    return childOf(m_mdi->activeSubWindow());
}

QString frmStartup::activeCaption() const
{
    const QMdiSubWindow* active = m_mdi->activeSubWindow();
    return active ? active->windowTitle() : QString();
}

void frmStartup::setVoiceListWindowsProvider(std::function<std::vector<QMdiSubWindow*>()> provider)
{
    m_listProvider = std::move(provider);
}

std::vector<QMdiSubWindow*> frmStartup::voiceListWindows() const
{
    if (m_listProvider)
        return m_listProvider();
    std::vector<QMdiSubWindow*> lists;
    for (QMdiSubWindow* w : m_mdi->subWindowList(QMdiArea::CreationOrder)) {
        const MdiChild* child = childOf(w);
        if (child && child->childKind() == MdiChild::Kind::VoiceList)
            lists.push_back(w);
    }
    return lists;
}

bool frmStartup::tabbedView() const
{
    return m_mdi->viewMode() == QMdiArea::TabbedView;
}

void frmStartup::setTabbedView(bool tabbed)
{
    if (tabbed) {
        m_mdi->setViewMode(QMdiArea::TabbedView);
        m_mdi->setDocumentMode(true);
        m_mdi->setTabsClosable(true);
        m_mdi->setTabsMovable(true);
    } else {
        m_mdi->setViewMode(QMdiArea::SubWindowView);
    }
    action(MainCommand::WindowTabbed)->setChecked(tabbed);
    for (auto c : {MainCommand::WindowCascade, MainCommand::WindowTile, MainCommand::WindowArrangeIcons})
        action(c)->setEnabled(!tabbed);
}

QMdiSubWindow* frmStartup::listWindowToClose() const
{
    if (!m_mdi->activeSubWindow())
        return nullptr;
    const QString caption = activeCaption();
    for (QMdiSubWindow* w : voiceListWindows())
        if (w->windowTitle() == caption)
            return w;
    return nullptr;
}

int frmStartup::listPositionForFind() const
{
    if (!m_mdi->activeSubWindow())
        return 0;
    const QString caption = activeCaption();
    const auto lists = voiceListWindows();
    int position = 0;
    for (std::size_t i = 0; i < lists.size(); ++i)
        if (lists[i]->windowTitle() == caption)
            position = static_cast<int>(i) + 1;
    return position;
}

void frmStartup::childActivated(QMdiSubWindow* window)
{
    // Lists and editors drive their own commands; with nothing active nobody does.
    if (!window) {
        m_state.listActive = false;
        m_state.findNext = false;
        m_state.editorActive = false;
        applyCommandState();
    }
    refreshEditCommands();
}

// --- Help keys ------------------------------------------------------------

bool frmStartup::eventFilter(QObject* watched, QEvent* event)
{
    // F1 on a highlighted menu entry opens that entry's help.
    if (event->type() == QEvent::KeyPress) {
        auto* menu = qobject_cast<QMenu*>(watched);
        const auto* key = static_cast<QKeyEvent*>(event);
        if (menu && key->key() == Qt::Key_F1) {
            const QAction* entry = menu->activeAction();
            const QVariant context = entry ? entry->property(kHelpContextProperty) : QVariant();
            menu->close();
            openHelp(context.isValid() ? QString::number(context.toInt())
                                       : QString::fromLatin1(HelpTopics::kMainWindowTopic));
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace toneloft
