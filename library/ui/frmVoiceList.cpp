#include "library/ui/frmVoiceList.h"

#include "common/Banks.h"
#include "common/UiServices.h"
#include "library/VoiceListView.h"
#include "library/ui/VoiceEditorWindows.h"
#include "library/ui/VoiceNameValidator.h"
#include "library/ui/VoiceSlotDelegate.h"
#include "library/ui/frmStartup.h"
#include "voice/Session.h"
#include "voice/VoiceList.h"
#include "voice/clsVoiceNames.h"
#include "voice/ui/frmVoiceRecordset.h"

#include <QCloseEvent>
#include <QFontInfo>
#include <QFontMetrics>
#include <QFrame>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QSettings>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace toneloft {

namespace {

QString fromBytes(const std::string& s)
{
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

} // namespace

frmVoiceList::frmVoiceList(Session& session, std::shared_ptr<VoiceList> list, frmStartup& host, QWidget* parent)
    : QWidget(parent), m_session(session), m_list(std::move(list)), m_host(host)
{
    setObjectName(QStringLiteral("frmVoiceList"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    buildControls();
    InitVoiceList(1);
    setWindowModified(m_list->isChanged());
}

frmVoiceList::~frmVoiceList()
{
    for (auto& [key, window] : m_editorWindows)
        if (window)
            window->disconnect(this);
}

void frmVoiceList::buildControls()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(2);

    m_caption = new QLabel(this);
    m_caption->setObjectName(QStringLiteral("Label1_0"));
    m_caption->setAlignment(Qt::AlignCenter);
    m_caption->setFrameShape(QFrame::Panel);
    m_caption->setFrameShadow(QFrame::Raised);
    // It opens the file properties: drawn as a link.
    m_caption->setCursor(Qt::PointingHandCursor);
    QFont linkFont = m_caption->font();
    linkFont.setUnderline(true);
    m_caption->setFont(linkFont);
    QPalette linkPalette = m_caption->palette();
    linkPalette.setColor(QPalette::WindowText, linkPalette.color(QPalette::Link));
    m_caption->setPalette(linkPalette);
    m_caption->setToolTip(QStringLiteral("File properties"));
    m_caption->installEventFilter(this);
    layout->addWidget(m_caption);

    m_listFrame = new QFrame(this);
    m_listFrame->setObjectName(QStringLiteral("Frame1"));
    m_listFrame->setFrameShape(QFrame::StyledPanel);
    m_listFrame->setAcceptDrops(true);
    m_listFrame->installEventFilter(this);
    auto* frameLayout = new QVBoxLayout(m_listFrame);
    frameLayout->setContentsMargins(3, 3, 3, 3);
    frameLayout->setSpacing(2);

    m_listBox = new QTableWidget(kRows, 2, m_listFrame);
    m_listBox->setObjectName(QStringLiteral("List1"));
    m_listBox->horizontalHeader()->hide();
    m_listBox->verticalHeader()->hide();
    m_listBox->setShowGrid(false);
    m_listBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_listBox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_listBox->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_listBox->setSelectionMode(QAbstractItemView::MultiSelection);
    m_listBox->setSelectionBehavior(QAbstractItemView::SelectItems);
    m_listBox->setTabKeyNavigation(false);
    m_listBox->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    QFont mono(QStringLiteral("Monospace"));
    mono.setStyleHint(QFont::TypeWriter);
    mono.setPixelSize(QFontInfo(mono).pixelSize());
    m_baseFont = mono;
    m_listBox->setFont(mono);
    m_slots = new VoiceSlotDelegate(m_listBox);
    m_listBox->setItemDelegate(m_slots);
    m_baseRowHeight = QFontMetrics(mono).height() + 3;
    m_listBox->verticalHeader()->setMinimumSectionSize(1);
    m_listBox->verticalHeader()->setDefaultSectionSize(m_baseRowHeight);
    m_listBox->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    // Never smaller than 16 rows and two columns of number and name in the
    // base font; larger windows draw larger names (fitListFont).
    m_listBox->setMinimumHeight(kRows * m_baseRowHeight + 2 * m_listBox->frameWidth());
    m_listBox->setMinimumWidth(QFontMetrics(mono).horizontalAdvance(QLatin1Char('M')) * 2 *
                                   (VoiceSlotDelegate::kSlotChars + 11) +
                               2 * m_listBox->frameWidth());
    m_listBox->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    m_listBox->setAcceptDrops(true);
    m_listBox->viewport()->setAcceptDrops(true);
    m_listBox->viewport()->installEventFilter(this);
    m_listBox->installEventFilter(this);
    frameLayout->addWidget(m_listBox);

    // Qt reports no drag moves while the pointer stands still; this keeps the
    // edge paging going meanwhile.
    m_edgeTimer = new QTimer(this);
    m_edgeTimer->setInterval(kEdgeTickMs);
    connect(m_edgeTimer, &QTimer::timeout, this, &frmVoiceList::pageAtEdge);

    m_scroll = new QScrollBar(Qt::Horizontal, m_listFrame);
    m_scroll->setObjectName(QStringLiteral("HScroll1"));
    m_scroll->setPageStep(1);
    connect(m_scroll, &QScrollBar::valueChanged, this, &frmVoiceList::scrollChanged);
    frameLayout->addWidget(m_scroll);
    layout->addWidget(m_listFrame, 1);

    m_renameBox = new QLineEdit(m_listBox->viewport());
    m_renameBox->setObjectName(QStringLiteral("Text1"));
    m_renameBox->setMaxLength(10);
    m_renameBox->setFont(mono);
    // Only what a file keeps when it is read back: printable ASCII, no apostrophe.
    m_renameBox->setValidator(new VoiceNameValidator(m_renameBox));
    m_renameBox->installEventFilter(this);
    m_renameBox->hide();

    m_propertiesFrame = new QFrame(this);
    m_propertiesFrame->setObjectName(QStringLiteral("Frame2"));
    m_propertiesFrame->setFrameShape(QFrame::StyledPanel);
    m_propertiesFrame->setAcceptDrops(true);
    m_propertiesFrame->installEventFilter(this);
    auto* grid = new QGridLayout(m_propertiesFrame);
    const char* titles[] = {"Name", "Type", "Size", "Patches", "Banks"};
    for (int i = 0; i < 5; ++i) {
        grid->addWidget(new QLabel(QString::fromLatin1(titles[i]), m_propertiesFrame), i, 0);
        m_values[i] = new QLabel(m_propertiesFrame);
        m_values[i]->setObjectName(QStringLiteral("Label2_%1").arg(i + 1));
        m_values[i]->setTextInteractionFlags(Qt::TextSelectableByMouse);
        m_values[i]->setWordWrap(true);
        grid->addWidget(m_values[i], i, 1);
    }
    grid->setColumnStretch(1, 1);
    m_propertiesFrame->hide();
    layout->addWidget(m_propertiesFrame);
}

void frmVoiceList::fitListFont()
{
    const QSize area = m_listBox->viewport()->size();
    if (area.height() < kRows || area.width() < 2)
        return;
    // The largest pixel size at which 16 rows and both columns still fit.
    const int base = m_baseFont.pixelSize();
    const int columnChars = VoiceSlotDelegate::kSlotChars + 11;
    QFont font = m_baseFont;
    int best = base;
    for (int px = base + 1; px <= 4 * base; ++px) {
        font.setPixelSize(px);
        const QFontMetrics metrics(font);
        if (kRows * (metrics.height() + 3) > area.height() ||
            2 * columnChars * metrics.horizontalAdvance(QLatin1Char('M')) > area.width())
            break;
        best = px;
    }
    font.setPixelSize(best);
    if (font != m_listBox->font()) {
        m_listBox->setFont(font);
        m_renameBox->setFont(font);
    }
    const int rowHeight = std::max(m_baseRowHeight, area.height() / kRows);
    if (rowHeight != itemHeight())
        m_listBox->verticalHeader()->setDefaultSectionSize(rowHeight);
}

QLabel* frmVoiceList::Label2(int index) const
{
    return index >= 1 && index <= 5 ? m_values[index - 1] : nullptr;
}

bool frmVoiceList::renameInProgress() const
{
    return m_renameBox->isVisible();
}

bool frmVoiceList::edgePagingActive() const
{
    return m_edgeTimer->isActive();
}

int frmVoiceList::itemHeight() const
{
    return m_listBox->verticalHeader()->defaultSectionSize();
}

// --- Drawing ----------------------------------------------------------------

void frmVoiceList::InitVoiceList(long bank)
{
    m_scrollUpdate = true;
    const long banks = BankCount(m_list->voiceCount());
    m_scroll->setRange(1, static_cast<int>(banks));
    m_scroll->setValue(static_cast<int>(VoiceListView::clampBank(bank, m_list->voiceCount())));
    m_scroll->setEnabled(banks >= 2);
    m_scrollUpdate = false;
    setWindowTitle(fromBytes(m_list->FileTitle));
    UpdateListBox(bank);
}

void frmVoiceList::UpdateListBox(long& bank, bool noIndex, int listIndex)
{
    hideRenameBox();
    const VoiceListView::Page page = VoiceListView::UpdateListBox(*m_list, m_view, bank);
    m_listBox->clearSelection();
    m_listBox->clearContents();
    clearCurrentItem();

    m_scrollUpdate = true;
    m_scroll->setRange(1, static_cast<int>(page.banks));
    m_scroll->setValue(static_cast<int>(page.bank));
    m_scroll->setEnabled(page.scrollEnabled);
    m_scrollUpdate = false;
    m_caption->setText(QString::fromStdString(page.label));
    // "[*]" carries the unsaved mark (setWindowModified).
    setWindowTitle(fromBytes(page.caption) + QStringLiteral("[*]"));
    m_list->caption = page.caption;
    const SlotNumbering numbering =
        slotNumberingFromText(QSettings().value(QString::fromLatin1(kSlotNumberingKey)).toString().toStdString());
    if (numbering != m_slots->numbering()) {
        m_slots->setNumbering(numbering);
        m_listBox->viewport()->update();
    }

    for (std::size_t i = 0; i < page.names.size(); ++i) {
        const int index = static_cast<int>(i);
        auto* item = new QTableWidgetItem(fromBytes(page.names[i]));
        m_listBox->setItem(index % kRows, index / kRows, item);
        item->setSelected(page.selected[i]);
    }
    if (page.anySelected && m_session.activeList() == m_list.get())
        SetMenuAndToolbar(true);
    if (listIndex >= 1 && listIndex <= static_cast<int>(page.names.size()) && !noIndex) {
        const int index = listIndex - 1;
        m_listBox->selectionModel()->setCurrentIndex(m_listBox->model()->index(index % kRows, index / kRows),
                                                     QItemSelectionModel::NoUpdate);
        m_listBox->viewport()->update();
    }
}

void frmVoiceList::redraw()
{
    long bank = m_view.bank;
    UpdateListBox(bank);
}

void frmVoiceList::listContentChanged()
{
    // An edit that could not tell the bank on screen before it gets this one
    // for its undo; a shortened list keeps the bank within it.
    m_list->history.noteBankBefore(m_view.bank);
    m_view.bank = std::min(m_view.bank, BankCount(m_list->voiceCount()));
    redraw();
    setWindowModified(m_list->isChanged());
    notifyEditCommandsChanged();
}

void frmVoiceList::showVoice(long voice)
{
    if (voice >= 1 && voice <= m_list->voiceCount()) {
        m_list->tracker.reset(voice, m_list->voiceCount());
        m_list->tracker.anchor = voice;
        m_view.currentVoice = voice;
        if (m_session.activeList() == m_list.get())
            SetMenuAndToolbar(true);
    }
    long bank = BankOfVoice(voice);
    UpdateListBox(bank, false, static_cast<int>(PositionInBank(voice)));
}

// --- Undo, redo, select all ---------------------------------------------------

bool frmVoiceList::canUndo() const
{
    return m_list->history.canUndo(*m_list);
}

bool frmVoiceList::canRedo() const
{
    return m_list->history.canRedo(*m_list);
}

void frmVoiceList::undo()
{
    hideRenameBox();
    if (m_list->history.undo(*m_list, &m_view.bank))
        m_view.currentVoice = m_view.lastClickedVoice = 0;
    notifyEditCommandsChanged();
}

void frmVoiceList::redo()
{
    hideRenameBox();
    if (m_list->history.redo(*m_list, &m_view.bank))
        m_view.currentVoice = m_view.lastClickedVoice = 0;
    notifyEditCommandsChanged();
}

bool frmVoiceList::canSelectAll() const
{
    return m_list->voiceCount() > 0;
}

void frmVoiceList::selectAll()
{
    if (m_list->voiceCount() < 1)
        return;
    m_list->tracker.add(1, m_list->voiceCount());
    selectionChangedHere();
}

void frmVoiceList::clearCurrentItem()
{
    m_listBox->selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
}

std::vector<int> frmVoiceList::selectedItems() const
{
    std::vector<int> items;
    for (int i = 0; i < 2 * kRows; ++i) {
        const QTableWidgetItem* item = m_listBox->item(i % kRows, i / kRows);
        if (item && item->isSelected())
            items.push_back(i);
    }
    return items;
}

void frmVoiceList::SetMenuAndToolbar(bool active)
{
    const auto c = VoiceListView::SetMenuAndToolbar(m_session, *m_list, active);
    m_host.setListCommands(c.always, c.cutCopyDelete ? m_list->tracker.TotalSelections() : 0, c.paste);
}

void frmVoiceList::scrollChanged(int value)
{
    if (m_scrollUpdate)
        return;
    long bank = value;
    UpdateListBox(bank);
}

// --- Activation and closing -------------------------------------------------

void frmVoiceList::activated()
{
    m_session.setActive(m_list.get(), nullptr);
    SetMenuAndToolbar(true);
}

void frmVoiceList::deactivated()
{
    SetMenuAndToolbar(false);
    m_view.lastClickedVoice = 0;
    hideRenameBox();
}

void frmVoiceList::listGone()
{
    m_gone = true;
    if (m_closing)
        return;
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget()))
        frame->close();
    else
        close();
}

void frmVoiceList::closeEvent(QCloseEvent* event)
{
    if (m_gone) {
        event->accept();
        return;
    }
    m_closing = true;
    // Code and the main window close lists; a refusal then stops their close too.
    const bool closed = m_list->requestClose(false);
    m_closing = false;
    if (!closed) {
        event->ignore();
        return;
    }
    m_gone = true;
    SetMenuAndToolbar(false);
    event->accept();
}

// --- Properties panel ---------------------------------------------------------

void frmVoiceList::fillProperties()
{
    const auto p = VoiceListView::properties(*m_list);
    const std::string* texts[] = {&p.name, &p.type, &p.size, &p.patches, &p.banks};
    for (int i = 0; i < 5; ++i)
        m_values[i]->setText(fromBytes(*texts[i]));
}

void frmVoiceList::togglePropertiesPanel()
{
    QWidget* frame = qobject_cast<QMdiSubWindow*>(parentWidget()) ? parentWidget() : this;
    m_propertiesShown = !m_propertiesShown;
    if (m_propertiesShown) {
        fillProperties();
        m_propertiesFrame->show();
        frame->resize(frame->width(), frame->height() * 3 / 2);
    } else {
        m_propertiesFrame->hide();
        frame->resize(frame->width(), frame->height() * 2 / 3);
    }
}

// --- Voice editors (the parameter window stands in for now) -------------------

std::string frmVoiceList::editorKey(long voice)
{
    return VoiceList::editorKey(voice);
}

frmVoiceRecordset* frmVoiceList::recordsetWindow(long voice) const
{
    const auto it = m_editorWindows.find(editorKey(voice));
    return it == m_editorWindows.end() ? nullptr : qobject_cast<frmVoiceRecordset*>(it->second.data());
}

void frmVoiceList::LoadVoice(long voice)
{
    if (voice < 1 || voice > m_list->voiceCount())
        return;
    const std::string key = editorKey(voice);
    if (m_list->Editors.Item(key)) {
        const MsgResult answer = m_session.ui().MsgBox(
            "You already have an editor open for this voice, do you want to reset this to the saved version ?",
            "Toneloft", MsgIcon::Question, MsgButtons::YesNoCancel);
        if (answer == MsgResult::Yes)
            resetVoiceEditor(key);
        // Whatever the answer, the editor comes to the front: it is what was asked for.
        const auto it = m_editorWindows.find(key);
        if (answer != MsgResult::Cancel && it != m_editorWindows.end() && it->second)
            if (auto* frame = qobject_cast<QMdiSubWindow*>(it->second->parentWidget()))
                if (QMdiArea* area = frame->mdiArea())
                    area->setActiveSubWindow(frame);
        return;
    }
    ShowStatus(m_session.ui(), "Loading Voice Editor - Please Wait", 0, 1);
    const auto editor = m_list->openEditor(voice);
    if (!editor) {
        ShowStatus(m_session.ui(), "", 0, 0);
        return;
    }
    if (m_editorWindowMaker) {
        // The editor window owns closing from here on (the save question, and
        // leaving the list's collections).
        if (QWidget* editorWindow = m_editorWindowMaker->showEditor(*m_list, editor))
            m_editorWindows[key] = editorWindow;
        ShowStatus(m_session.ui(), "", 0, 0);
        return;
    }
    auto* window = new frmVoiceRecordset;
    window->InitVoiceDataRecordset(editor->data);
    QPointer<frmVoiceRecordset> alive(window);
    editor->closeHandler = [this, alive](VoiceEditor&) {
        if (alive) {
            m_editorClosing = true;
            if (auto* frame = qobject_cast<QMdiSubWindow*>(alive->parentWidget()))
                frame->close();
            else
                alive->close();
            m_editorClosing = false;
        }
        return true;
    };
    m_editorWindows[key] = window;
    connect(window, &frmVoiceRecordset::closed, this, [this, key] { editorWindowClosed(key); });
    m_host.addChild(window);
    ShowStatus(m_session.ui(), "", 0, 0);
}

void frmVoiceList::resetVoiceEditor(const std::string& key)
{
    const auto it = m_editorWindows.find(key);
    if (it != m_editorWindows.end() && it->second && m_editorWindowMaker &&
        !qobject_cast<frmVoiceRecordset*>(it->second.data())) {
        m_editorWindowMaker->resetEditor(it->second.data()); // reloads the voice itself
        return;
    }
    m_list->resetEditor(key);
    if (it != m_editorWindows.end() && it->second)
        if (auto* stand = qobject_cast<frmVoiceRecordset*>(it->second.data()))
            stand->InitVoiceDataRecordset(m_list->Recordsets.Item(key));
}

void frmVoiceList::editorWindowClosed(const std::string& key)
{
    m_editorWindows.erase(key);
    if (m_editorClosing)
        return; // the editor itself is closing and leaves the collections
    m_list->Recordsets.Remove(key);
    m_list->Editors.Remove(key);
}

} // namespace toneloft
