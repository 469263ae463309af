#pragma once

#include "library/EdgePager.h"
#include "library/VoiceListViewState.h"
#include "common/ui/MdiChild.h"

#include <QFont>
#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

class QFrame;
class QLabel;
class QLineEdit;
class QMimeData;
class QScrollBar;
class QTableWidget;
class QTimer;

namespace toneloft {

class Session;
class VoiceList;
class frmStartup;
class frmVoiceRecordset;
class VoiceSlotDelegate;
class VoiceEditorWindows;

// The window of one open voice list: a bank of 32 names in two columns of 16,
// the bank selector, the caption that opens the file properties, rename in
// place, and drag and drop of voices between lists.
class frmVoiceList : public QWidget, public MdiChild {
    Q_OBJECT

public:
    // The drag text travels as this type and as plain text.
    static constexpr const char* kMimeType = "application/x-toneloft-voices";
    static constexpr int kRows = 16;

    frmVoiceList(Session& session, std::shared_ptr<VoiceList> list, frmStartup& host, QWidget* parent = nullptr);
    ~frmVoiceList() override;

    Kind childKind() const override { return Kind::VoiceList; }
    bool renameInProgress() const override;
    // Edit > Undo / Redo go through the list's history; Select All selects every voice.
    bool canUndo() const override;
    bool canRedo() const override;
    void undo() override;
    void redo() override;
    bool canSelectAll() const override;
    void selectAll() override;

    // The QSettings key of the slot numbering: "1-32" (the default) or "A/B".
    static constexpr const char* kSlotNumberingKey = "lists/slotNumbering";

    VoiceList& list() { return *m_list; }
    const std::shared_ptr<VoiceList>& listPtr() const { return m_list; }
    // The bank on screen, the current and last clicked voice, the last paste.
    VoiceListViewState& view() { return m_view; }

    // Sets the scroll range and caption, then draws the bank.
    void InitVoiceList(long bank);
    // Draws a bank (clamped, and written back); listIndex 1..32 makes that item
    // the list's current one unless noIndex.
    void UpdateListBox(long& bank, bool noIndex = true, int listIndex = -1);
    // The window's bank again, e.g. after the core changed the voices.
    void redraw();
    // The voices changed: the bank kept within the list, redraw, the unsaved
    // mark, the Edit commands.
    void listContentChanged();
    // A find result: the voice alone selected, its bank on screen with it as
    // the current item.
    void showVoice(long voice);
    void SetMenuAndToolbar(bool active);
    void LoadVoice(long voice);
    // The program's voice editor windows (none: the parameter-table window).
    void setEditorWindows(VoiceEditorWindows* windows) { m_editorWindowMaker = windows; }

    void activated();
    void deactivated();
    // The core closed the file: the window goes without asking anything.
    void listGone();

    bool propertiesShown() const { return m_propertiesShown; }
    void togglePropertiesPanel();

    // Controls, for the main window and tests.
    QTableWidget* List1() const { return m_listBox; }
    QScrollBar* HScroll1() const { return m_scroll; }
    QLabel* Label1() const { return m_caption; }
    QLineEdit* Text1() const { return m_renameBox; }
    QFrame* Frame1() const { return m_listFrame; }
    QFrame* Frame2() const { return m_propertiesFrame; }
    QLabel* Label2(int index) const; // 1..5
    // The voice under a point of List1's viewport (0 for none).
    long voiceAt(const QPoint& point) const;
    // The centre of a voice's item on the bank shown (viewport coordinates).
    QPoint pointOfVoice(long voice) const;
    int itemHeight() const;
    // Selected names as drawn, 0-based list indexes.
    std::vector<int> selectedItems() const;
    frmVoiceRecordset* recordsetWindow(long voice) const;
    static std::string editorKey(long voice);

    // The drag data of the selection: the custom type and text.
    QMimeData* dragMimeData() const;
    // Replaces QDrag::exec (tests): receives the drag data; its result is ignored.
    void setDragStarter(std::function<void(QMimeData*)> starter) { m_dragStarter = std::move(starter); }
    // Set while any list drags: mouse handling in the lists is suspended.
    static bool dragInProgress() { return s_dragInProgress; }
    // A drag hovers over the list: edge paging goes on while the pointer stands still.
    bool edgePagingActive() const;
    // How often a hovering drag looks at the edge (ms); the pager times the steps.
    static constexpr int kEdgeTickMs = 10;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void scrollChanged(int value);
    bool handleListKey(int qtKey, Qt::KeyboardModifiers modifiers);
    // Arrows, Home / End: the current voice moves to voice (clamped), alone
    // selected, or with Shift the range from the anchor; with Ctrl only the
    // current voice moves.
    void moveCurrent(long voice, bool shift, bool ctrl);
    // The voice Enter, F2 and Space act on: the current one, else the first selected.
    long keyVoice() const;
    void fitListFont();
    void mousePress(const QPoint& point, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void mouseMove(Qt::MouseButtons buttons);
    void mouseRelease(Qt::MouseButton button);
    void mouseDoubleClick();
    void startDrag();
    bool dragMove(QEvent* event);
    void drop(QEvent* event);
    void pageAtEdge();
    void stopEdgePaging();
    void selectionChangedHere();

    void startRename(long voice);
    void commitRename();
    bool renameKey(int qtKey, Qt::KeyboardModifiers modifiers);
    void hideRenameBox();
    void resetVoiceEditor(const std::string& key);
    void editorWindowClosed(const std::string& key);
    void clearCurrentItem();
    void fillProperties();

    Session& m_session;
    std::shared_ptr<VoiceList> m_list;
    frmStartup& m_host;
    VoiceListViewState m_view;

    QLabel* m_caption = nullptr;
    QFrame* m_listFrame = nullptr;
    QTableWidget* m_listBox = nullptr;
    QScrollBar* m_scroll = nullptr;
    QLineEdit* m_renameBox = nullptr;
    QFrame* m_propertiesFrame = nullptr;
    QLabel* m_values[5] = {};
    VoiceSlotDelegate* m_slots = nullptr;
    QFont m_baseFont;            // the smallest the names are drawn in
    int m_baseRowHeight = 0;

    bool m_scrollUpdate = false;
    bool m_shift = false;
    bool m_ctrl = false;
    Qt::MouseButton m_pressButton = Qt::NoButton;
    bool m_pressCommittedRename = false;
    std::optional<std::int64_t> m_dragStart;
    bool m_doubleClicked = false;
    bool m_afterDoubleClick = false;
    long m_renameVoice = 0;
    std::string m_nameBeforeEdit;
    bool m_propertiesShown = false;
    bool m_closing = false;
    bool m_gone = false;
    bool m_editorClosing = false;
    EdgePager m_pager;
    QTimer* m_edgeTimer = nullptr;
    int m_dragX = 0; // last drag position over the list, viewport coordinates
    std::function<void(QMimeData*)> m_dragStarter;
    std::map<std::string, QPointer<QWidget>> m_editorWindows;
    VoiceEditorWindows* m_editorWindowMaker = nullptr;

    static inline bool s_dragInProgress = false;
};

} // namespace toneloft
