// frmVoiceList: mouse, keys, drag and drop and rename in place.
#include "library/ui/frmVoiceList.h"

#include "common/Banks.h"
#include "common/UiServices.h"
#include "library/DragData.h"
#include "library/ListEditing.h"
#include "library/VoiceAudition.h"
#include "library/VoiceListView.h"
#include "library/ui/VoiceSlotDelegate.h"
#include "voice/Session.h"
#include "voice/VoiceList.h"
#include "voice/clsVoiceNames.h"

#include <QDrag>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QPointer>
#include <QScrollBar>
#include <QTableWidget>
#include <QTimer>

namespace toneloft {

namespace {

constexpr int kNameLength = 10;

int listKeyCode(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_PageUp: return VoiceListView::kPageUp;
    case Qt::Key_PageDown: return VoiceListView::kPageDown;
    case Qt::Key_End: return VoiceListView::kEnd;
    case Qt::Key_Home: return VoiceListView::kHome;
    case Qt::Key_Left: return VoiceListView::kLeft;
    case Qt::Key_Up: return VoiceListView::kLeft + 1;
    case Qt::Key_Right: return VoiceListView::kLeft + 2;
    case Qt::Key_Down: return VoiceListView::kDown;
    default: return 0;
    }
}

std::string trimmed(const std::string& s)
{
    const auto first = s.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

std::string padded(std::string name)
{
    name.resize(kNameLength, ' ');
    return name;
}

QString fromBytes(const std::string& s)
{
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

std::string dragTextOf(const QMimeData* data)
{
    if (!data)
        return {};
    const QByteArray bytes =
        data->hasFormat(QString::fromLatin1(frmVoiceList::kMimeType))
            ? data->data(QString::fromLatin1(frmVoiceList::kMimeType))
            : data->text().toLatin1();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// Ctrl, the desktop's copy key, as well as Alt (which many desktops keep for moving windows).
bool copyHeld(Qt::KeyboardModifiers modifiers)
{
    return modifiers.testFlag(Qt::AltModifier) || modifiers.testFlag(Qt::ControlModifier);
}

bool carriesText(const QMimeData* data)
{
    return data && (data->hasText() || data->hasFormat(QString::fromLatin1(frmVoiceList::kMimeType)));
}

} // namespace

bool frmVoiceList::eventFilter(QObject* watched, QEvent* event)
{
    if (!m_values[4]) // still building the controls
        return QWidget::eventFilter(watched, event);
    const QEvent::Type type = event->type();
    if (watched == m_listBox->viewport()) {
        switch (type) {
        case QEvent::MouseButtonPress: {
            const auto* e = static_cast<QMouseEvent*>(event);
            mousePress(e->position().toPoint(), e->button(), e->modifiers());
            return true;
        }
        case QEvent::MouseMove:
            mouseMove(static_cast<QMouseEvent*>(event)->buttons());
            return true;
        case QEvent::MouseButtonRelease:
            mouseRelease(static_cast<QMouseEvent*>(event)->button());
            return true;
        case QEvent::MouseButtonDblClick:
            mouseDoubleClick();
            return true;
        case QEvent::DragEnter:
        case QEvent::DragMove:
            return dragMove(event);
        case QEvent::DragLeave:
            stopEdgePaging();
            return true;
        case QEvent::Drop:
            drop(event);
            return true;
        case QEvent::Resize:
            fitListFont();
            break;
        default: break;
        }
    } else if (watched == m_listBox && type == QEvent::KeyPress) {
        const auto* e = static_cast<QKeyEvent*>(event);
        return handleListKey(e->key(), e->modifiers());
    } else if (watched == m_renameBox) {
        if (type == QEvent::KeyPress) {
            auto* e = static_cast<QKeyEvent*>(event);
            if (renameKey(e->key(), e->modifiers()))
                return true;
            if (listKeyCode(e->key()) != 0) {
                // Without Shift a navigation key is the box's alone: what the box
                // leaves unused would otherwise travel on to the list and page it.
                static_cast<QObject*>(m_renameBox)->event(e);
                e->accept();
                return true;
            }
            return false;
        }
        if (type == QEvent::MouseButtonDblClick) {
            const long voice = m_renameVoice;
            commitRename();
            LoadVoice(voice);
            return true;
        }
    } else if (watched == m_caption && type == QEvent::MouseButtonPress) {
        togglePropertiesPanel();
        return true;
    } else if ((watched == m_listFrame || watched == m_propertiesFrame) &&
               (type == QEvent::DragEnter || type == QEvent::DragMove)) {
        // The frames never take a drop; leaving the list through its frame stops edge paging.
        m_edgeTimer->stop();
        if (watched == m_listFrame)
            m_pager.reset();
        auto* e = static_cast<QDragMoveEvent*>(event);
        if (type == QEvent::DragEnter)
            e->accept(); // so that the moves over the frame come here too
        else
            e->ignore();
        e->setDropAction(Qt::IgnoreAction);
        return true;
    } else if ((watched == m_listFrame || watched == m_propertiesFrame) && type == QEvent::Drop) {
        event->ignore();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

// --- Keys ---------------------------------------------------------------------

bool frmVoiceList::handleListKey(int qtKey, Qt::KeyboardModifiers modifiers)
{
    m_shift = modifiers.testFlag(Qt::ShiftModifier);
    m_ctrl = modifiers.testFlag(Qt::ControlModifier);
    const long count = m_list->voiceCount();
    const long from = keyVoice();
    // Up and down go through the voices in order; left and right jump a
    // column of 16, so that both cross into the next or previous bank at the edges.
    switch (qtKey) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right: {
        if (count < 1)
            return true;
        if (from < 1) {
            // The first key only takes the first voice of the bank on screen.
            moveCurrent(std::min(FirstVoiceOfBank(m_view.bank), count), m_shift, m_ctrl);
            return true;
        }
        const long step = qtKey == Qt::Key_Up ? -1 : qtKey == Qt::Key_Down ? 1 : qtKey == Qt::Key_Left ? -kRows : kRows;
        moveCurrent(from + step, m_shift, m_ctrl);
        return true;
    }
    case Qt::Key_Home:
    case Qt::Key_End:
        if (count > 0)
            moveCurrent(qtKey == Qt::Key_Home ? 1 : count, m_shift, m_ctrl);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // As a double-click does.
        if (from > 0) {
            LoadVoice(from);
            VoiceAudition::auditionVoice(m_session, *m_list, from, false);
        }
        return true;
    case Qt::Key_F2:
        if (from > 0) {
            long bank = BankOfVoice(from);
            if (bank != m_view.bank)
                UpdateListBox(bank);
            m_list->tracker.reset(from, count);
            m_list->tracker.anchor = from;
            m_view.currentVoice = from;
            selectionChangedHere();
            startRename(from);
        }
        return true;
    case Qt::Key_Space:
        // As a click does: the voice goes to the synthesiser.
        if (from > 0)
            VoiceAudition::auditionVoice(m_session, *m_list, from, false);
        return true;
    default: break;
    }
    const int code = listKeyCode(qtKey);
    if (code == 0)
        return false;
    const auto result = VoiceListView::pagingKey(code, m_view.bank, m_list->voiceCount());
    if (result.bank != m_view.bank) {
        long bank = result.bank;
        UpdateListBox(bank);
    }
    clearCurrentItem();
    return result.consumed;
}

long frmVoiceList::keyVoice() const
{
    const long count = m_list->voiceCount();
    if (m_view.currentVoice >= 1 && m_view.currentVoice <= count)
        return m_view.currentVoice;
    const auto selected = m_list->tracker.selected();
    return selected.empty() ? 0 : selected.front();
}

void frmVoiceList::moveCurrent(long voice, bool shift, bool ctrl)
{
    const long count = m_list->voiceCount();
    if (count < 1)
        return;
    const long from = keyVoice();
    voice = std::clamp(voice, 1L, count);
    SelectionTracker& tracker = m_list->tracker;
    if (shift) {
        if (tracker.anchor < 1 || tracker.anchor > count)
            tracker.anchor = from > 0 ? from : voice;
        tracker.UpDateTracker(voice, true, false);
    } else if (!ctrl) {
        tracker.reset(voice, count);
        tracker.anchor = voice;
    }
    m_view.currentVoice = voice;
    m_view.bank = BankOfVoice(voice);
    selectionChangedHere();
    // The redraw for the selection leaves no current item: the moved-to voice is it.
    long bank = m_view.bank;
    UpdateListBox(bank, false, static_cast<int>(PositionInBank(voice)));
}

// --- Mouse --------------------------------------------------------------------

long frmVoiceList::voiceAt(const QPoint& point) const
{
    if (point.x() < 0 || point.y() < 0 || point.x() >= m_listBox->viewport()->width())
        return 0;
    return VoiceListView::GetVoiceNo(point.x(), point.y(), itemHeight(), m_listBox->viewport()->width(),
                                     m_view.bank, m_list->voiceCount());
}

QPoint frmVoiceList::pointOfVoice(long voice) const
{
    const long index = PositionInBank(voice) - 1;
    const int column = static_cast<int>(index / kRows);
    const int row = static_cast<int>(index % kRows);
    const int half = m_listBox->viewport()->width() / 2;
    return {column * half + half / 2, row * itemHeight() + itemHeight() / 2};
}

void frmVoiceList::selectionChangedHere()
{
    VoiceList& list = *m_list;
    m_session.notify([&](SessionObserver& o) { o.selectionChanged(list); });
}

void frmVoiceList::mousePress(const QPoint& point, Qt::MouseButton button, Qt::KeyboardModifiers modifiers)
{
    if (s_dragInProgress)
        return;
    m_pressButton = button;
    // A double-click's second press comes as the double-click itself.
    m_afterDoubleClick = false;
    m_dragStart.reset();
    m_pressCommittedRename = false;
    if (m_renameBox->isVisible()) {
        commitRename();
        m_pressCommittedRename = true;
    }
    const long voice = voiceAt(point);
    m_view.currentVoice = voice;
    m_listBox->setFocus();
    if (voice == 0)
        return;
    m_shift = modifiers.testFlag(Qt::ShiftModifier);
    m_ctrl = modifiers.testFlag(Qt::ControlModifier);
    m_list->tracker.UpDateTracker(voice, m_shift, m_ctrl);
    selectionChangedHere();
}

void frmVoiceList::mouseMove(Qt::MouseButtons buttons)
{
    if (s_dragInProgress || !buttons.testFlag(Qt::LeftButton) || m_pressCommittedRename ||
        m_list->voiceCount() < 1)
        return;
    const std::int64_t now = m_session.ui().clock();
    if (!m_dragStart) {
        m_dragStart = now;
        return;
    }
    if (now - *m_dragStart > VoiceListView::kDragStartMs) {
        clearCurrentItem();
        m_dragStart.reset();
        startDrag();
    }
}

void frmVoiceList::mouseRelease(Qt::MouseButton button)
{
    m_dragStart.reset();
    const long voice = m_view.currentVoice;
    {
        // The test scale of a right click pauses with events running.
        QPointer<frmVoiceList> alive(this);
        VoiceAudition::auditionVoice(m_session, *m_list, voice, button == Qt::RightButton);
        if (!alive)
            return;
    }
    if (m_afterDoubleClick) {
        // The release that ends a double-click: the editor is already open.
        m_afterDoubleClick = false;
    } else if (voice > 0 && button == Qt::LeftButton &&
               VoiceListView::releaseMayRename(voice, m_view.lastClickedVoice,
                                               m_list->tracker.TotalSelections(), true, m_shift, m_ctrl)) {
        m_doubleClicked = false;
        QPointer<frmVoiceList> alive(this);
        UiServices& ui = m_session.ui();
        const std::int64_t start = ui.clock();
        while (ui.clock() - start < VoiceListView::kDoubleClickWaitMs) {
            ui.processEvents();
            if (!alive)
                return;
            if (m_doubleClicked)
                break;
        }
        if (!m_doubleClicked && m_view.currentVoice == voice) {
            m_list->tracker.reset(voice, m_list->voiceCount());
            m_list->tracker.anchor = voice;
            selectionChangedHere();
            startRename(voice);
        }
    }
    m_view.lastClickedVoice = voice;
    clearCurrentItem();
}

void frmVoiceList::mouseDoubleClick()
{
    if (s_dragInProgress)
        return;
    m_doubleClicked = true;
    m_afterDoubleClick = true;
    const long voice = m_view.currentVoice;
    LoadVoice(voice);
    VoiceAudition::auditionVoice(m_session, *m_list, voice, false);
}

// --- Drag and drop ------------------------------------------------------------

QMimeData* frmVoiceList::dragMimeData() const
{
    const std::string text = DragData::fromSelection(*m_list).text();
    const QByteArray bytes(text.data(), static_cast<qsizetype>(text.size()));
    auto* mime = new QMimeData;
    mime->setData(QString::fromLatin1(kMimeType), bytes);
    mime->setText(QString::fromLatin1(bytes));
    return mime;
}

void frmVoiceList::startDrag()
{
    if (m_list->tracker.TotalSelections() < 1)
        return;
    s_dragInProgress = true;
    long bank = m_view.bank;
    UpdateListBox(bank);
    QPointer<frmVoiceList> alive(this);
    QMimeData* mime = dragMimeData();
    if (m_dragStarter) {
        m_dragStarter(mime);
        delete mime;
    } else {
        auto* drag = new QDrag(m_listBox);
        drag->setMimeData(mime);
        drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::MoveAction);
    }
    // However the drag ended, it no longer hovers here.
    if (alive)
        stopEdgePaging();
    s_dragInProgress = false;
}

bool frmVoiceList::dragMove(QEvent* event)
{
    auto* e = static_cast<QDragMoveEvent*>(event);
    const QPoint point = e->position().toPoint();
    const long voices = m_list->voiceCount();
    // Entering at the edge enters the edge zone too.
    m_dragX = point.x();
    pageAtEdge();
    if (!m_edgeTimer->isActive())
        m_edgeTimer->start();
    if (dropAllowed(carriesText(e->mimeData()), voiceAt(point), voices)) {
        e->setDropAction(copyHeld(e->modifiers()) ? Qt::CopyAction : Qt::MoveAction);
        e->accept();
    } else if (e->type() == QEvent::DragEnter) {
        // Accepted so that the moves come, each of which decides on its own.
        e->accept();
        e->setDropAction(Qt::IgnoreAction);
    } else {
        e->ignore();
    }
    return true;
}

void frmVoiceList::pageAtEdge()
{
    const long bank = m_pager.dragOver(m_dragX, m_listBox->viewport()->width(), m_view.bank,
                                       m_list->voiceCount(), m_session.ui().clock());
    if (bank != m_view.bank) {
        long shown = bank;
        UpdateListBox(shown);
    }
}

void frmVoiceList::stopEdgePaging()
{
    m_edgeTimer->stop();
    m_pager.reset();
}

void frmVoiceList::drop(QEvent* event)
{
    auto* e = static_cast<QDropEvent*>(event);
    stopEdgePaging();
    const long target = voiceAt(e->position().toPoint());
    const bool alt = copyHeld(e->modifiers());
    const std::string text = dragTextOf(e->mimeData());
    e->setDropAction(alt ? Qt::CopyAction : Qt::MoveAction);
    e->accept();
    // The source may be this list: the copy and delete redraw both through the core.
    if (!ListEditing::dropVoices(*m_list, m_view, target, text, alt))
        e->setDropAction(Qt::IgnoreAction);
    s_dragInProgress = false;
}

// --- Rename in place ----------------------------------------------------------

void frmVoiceList::startRename(long voice)
{
    if (voice < 1 || voice > m_list->voiceCount() || BankOfVoice(voice) != m_view.bank)
        return;
    const int index = static_cast<int>(PositionInBank(voice) - 1);
    QTableWidgetItem* item = m_listBox->item(index % kRows, index / kRows);
    if (!item)
        return;
    m_renameVoice = voice;
    m_nameBeforeEdit = padded(item->text().toLatin1().toStdString());
    // Over the name, beside the slot number.
    m_renameBox->setGeometry(
        m_listBox->visualItemRect(item).adjusted(VoiceSlotDelegate::slotWidth(m_listBox->font()), 0, 0, 0));
    m_renameBox->setText(fromBytes(m_nameBeforeEdit));
    m_renameBox->show();
    m_renameBox->selectAll();
    m_renameBox->setFocus();
}

void frmVoiceList::hideRenameBox()
{
    m_renameBox->hide();
}

void frmVoiceList::commitRename()
{
    if (!m_renameBox->isVisible())
        return;
    const long voice = m_renameVoice;
    const std::string name = padded(m_renameBox->text().toLatin1().toStdString());
    const std::string oldName = trimmed(m_nameBeforeEdit);
    hideRenameBox();
    if (voice < 1 || voice > m_list->voiceCount())
        return;
    ListEditing::renameVoice(*m_list, voice, name);
    for (const auto& editor : m_list->Editors.NewEnum())
        if (trimmed(editor->caption) == oldName)
            editor->caption = trimmed(name);
    m_nameBeforeEdit = name;
    if (BankOfVoice(voice) == m_view.bank) {
        const int index = static_cast<int>(PositionInBank(voice) - 1);
        if (QTableWidgetItem* item = m_listBox->item(index % kRows, index / kRows))
            item->setText(fromBytes(name));
    }
    VoiceAudition::sendVoiceName(m_session, name);
}

bool frmVoiceList::renameKey(int qtKey, Qt::KeyboardModifiers modifiers)
{
    if (qtKey == Qt::Key_Return || qtKey == Qt::Key_Enter) {
        commitRename();
        m_listBox->setFocus();
        return true;
    }
    if (qtKey == Qt::Key_Escape) {
        if (padded(m_renameBox->text().toLatin1().toStdString()) == m_nameBeforeEdit) {
            hideRenameBox();
            m_list->tracker.reset(0, m_list->voiceCount());
            selectionChangedHere();
            m_listBox->setFocus();
        } else {
            m_renameBox->setText(fromBytes(m_nameBeforeEdit));
        }
        return true;
    }
    if (listKeyCode(qtKey) != 0 && modifiers.testFlag(Qt::ShiftModifier)) {
        commitRename();
        m_listBox->setFocus();
        handleListKey(qtKey, modifiers);
        return true;
    }
    return false;
}

} // namespace toneloft
