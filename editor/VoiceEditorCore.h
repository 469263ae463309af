#pragma once

#include "common/ByteString.h"
#include "common/Recordset.h"
#include "editor/EditorElementCopy.h"
#include "editor/EditorGrids.h"
#include "editor/EditorUndo.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace toneloft {

class Session;
class SynthLink;
class VoiceEditor;

// What an edit changed, handed to VoiceEditorCore::onRefresh after the tables
// hold the new values and texts, so a window redraws just that.
struct EditorRefresh {
    // Grids whose values or display texts changed; redraw them and the graph
    // of the same index (envelopes 0..6, level scaling 7..12).
    std::vector<int> grids;
    // Everything may have changed (reset, a copied operator, a whole-voice
    // undo): re-read every grid, graph, the name and the algorithm panel.
    bool all = false;
    bool algorithm = false; // parameter 135: show its diagram and AlgorithmCaption()
    bool name = false;      // rows 146..155: caption() and voiceName()
    bool operators = false; // the on/off mask: operator box colours
};

// A value written by SetValues (a dragged graph point). send: give it to the
// synthesiser as a parameter change (no test note) when MIDI is on.
struct ParameterEdit {
    int paramId = 0; // 1..145
    int value = 0;
    bool send = true;
};

// The voice editor without its window: one open voice of one voice list, its
// VoiceData and ProxyData tables, the 27 filtered grid views, every edit
// (spin, typed entry, graph values, algorithm, name, copy, reset) with its
// MIDI send, undo and redo, and storing the voice back into its list.
//
// Rows of a grid are 0-based (as a Qt model counts them); parameters are
// ParamID 1..155 (rows of the unpacked voice). "MIDI on" means the session has
// a synthesiser whose output is open.
//
// Edits are refused (false, nothing changed, nothing sent) while the session's
// event-suppression flag is set, as the change events of grids being filled
// by code must do nothing, and for values outside a row's Min. to Max.
//
// Every accepted edit is one undo step. Undo and Redo write the earlier
// values back, send them like any other change and ignore modCtrlKey (the
// Ctrl key is down while Ctrl+Z is pressed).
class VoiceEditorCore {
public:
    // The editor handle made by VoiceList::openEditor. Builds the 27 grid views
    // and fills every display text (InitVoiceEditor with no range). Nothing is
    // sent; Activate() does that.
    VoiceEditorCore(Session& session, std::shared_ptr<VoiceEditor> editor);
    ~VoiceEditorCore();
    VoiceEditorCore(const VoiceEditorCore&) = delete;
    VoiceEditorCore& operator=(const VoiceEditorCore&) = delete;

    // False when the editor's tables did not load; every edit is then refused.
    bool isValid() const;

    Session& session() { return m_session; }
    VoiceEditor& editor() { return *m_editor; }
    const std::string& ParentVoiceListID() const;
    const std::string& EditorID() const;

    // Called after every change, with what to redraw. The window sets it.
    std::function<void(const EditorRefresh&)> onRefresh;

    // --- tables and grids --------------------------------------------------
    Recordset* rsVoiceData();
    Recordset* rsProxyData();
    // The filtered view grid g (0..26) is bound to: its rows are the grid's
    // rows; ShortTitle and EditorGrids::grid(g).valueColumn are shown.
    // Rebuilt views keep their identity: the reference stays good for the
    // core's life, also across ResetVoice.
    Recordset& gridRows(int g);
    int gridRowCount(int g) const;
    // ParamID of row (0-based) of grid g; 0 outside.
    int paramIdAt(int g, int row) const;
    // The grid row of a bookmark of the VoiceData table (as RecordsetModel's
    // writer gets it); -1 when the row is not in grid g.
    int gridRowOfBookmark(int g, Recordset::Bookmark row) const;

    // --- values and texts --------------------------------------------------
    // Rows 1..145: the value; 146..155: the name character's code; -1 outside.
    int value(int paramId) const;
    // The text the editor shows for a parameter: ProxyVal where the grid shows
    // it (level scaling, oscillator, sensitivity, LFO, Misc), else Value.
    // Algorithm (135) shows its number 1..32; name rows their character.
    std::string displayText(int paramId) const;
    // The text in the value column of grid g's row.
    std::string gridText(int g, int row) const;
    // The 155 unpacked bytes as the tables hold them now.
    ByteString voice() const;
    // Rows 146..155, the first character of each Value.
    std::string voiceName() const;
    // The window caption: the voice name as the list showed it, or the last
    // name given to VoiceNameChange.
    std::string caption() const;
    // Operator n's frequency text as its oscillator grid shows it ("1.0", "9772 Hz").
    std::string frequencyText(int op) const;
    int algorithm() const; // parameter 135, 0..31
    // "  Algorithm " + the number 1..32 with its leading blank + "  ".
    std::string AlgorithmCaption() const;

    // --- the cursor and the spin --------------------------------------------
    // The grid and cell that had the focus; restored after a reset. Col 0 is
    // the title column, 1 the value column.
    int CurrentGridID = 0;
    int CurrentGridRow = 0;
    int CurrentGridCol = 1;
    void setCurrentCell(int g, int row, int col);

    // What the shared spin takes beside row of grid g: Min., Max., the value,
    // and its Tag (the grid's index). Nothing for a row that is not there.
    struct SpinSetting {
        int min = 0;
        int max = 0;
        int value = 0;
        int tag = 0;
    };
    std::optional<SpinSetting> spinFor(int g, int row) const;

    // True while the Ctrl key is held: edits are stored but spin changes,
    // algorithm changes, resets and audition scales send nothing.
    bool modCtrlKey = false;

    // --- edits --------------------------------------------------------------
    // A value stepped with the spin on row of grid g: stored, sent with a test
    // note (unless modCtrlKey), display texts refreshed. The current cell
    // becomes (g, row, 1).
    bool SpinChange(int g, int row, int value);
    // A value typed into row of grid g: a number within Min. to Max.; a
    // display text of the row's ProxyData column ("+EXP" -> 2); on coarse or
    // fine rows a frequency or ratio ("1023 Hz", "0.5"). Refused texts change
    // nothing; the window puts the old text back.
    bool TypedEntry(int g, int row, std::string_view text);
    // Values from elsewhere (graph drags): stored, their groups' texts
    // refreshed, those marked send sent without a test note (modCtrlKey is the
    // caller's business here). One undo step, or part of the open edit group.
    // Refused as a whole when any value is out of its row's range.
    bool SetValues(const std::vector<ParameterEdit>& edits);
    // The algorithm spin: parameter 135 = v (0..31), sent with the test scale
    // unless modCtrlKey.
    bool AlgorithmChange(int v);
    // Writes the ten characters of newName (blank-padded, cut at ten) into rows
    // 146..155 and makes it the caption. Characters a loaded name could not
    // hold (outside 32..126, and the quote ') are refused (false, nothing changed). The changed characters are sent as
    // parameter changes (no note) when MIDI is on and modCtrlKey is clear.
    bool VoiceNameChange(std::string_view newName);
    // Reloads the voice from its list, discarding edits (an undoable step),
    // rebuilds every grid's texts and, with MIDI on and modCtrlKey clear,
    // sends the whole voice. Also what the list's "already open" question
    // runs on Yes (through VoiceEditor::resetHandler).
    bool ResetVoice();
    // Copies source's parameters onto target (target in this editor, source
    // in any open editor of any list): an operator (label: 21 rows; the
    // "Non Operator" label: the voice-wide rows 127..145), or a grid's or
    // graph's group row by row. False when GetSourceTargetID refuses the pair
    // or the source editor is gone. With MIDI on the whole voice is sent.
    bool CopyVoiceElementData(const EditorElement& source, const EditorElement& target);
    // An element of this editor, carrying its list and editor keys.
    EditorElement element(EditorElement::Kind kind, int index) const;

    // --- operators on and off (not part of the voice, never saved) ---------
    // Bit 2^(6 - n) is operator n; 63 = all on (the start).
    int OperatorStatus() const { return m_operatorStatus; }
    void setOperatorStatus(int mask);
    bool operatorOn(int n) const;
    // A click on operator n's box: only while MIDI is on (false otherwise).
    // Toggles n and sends the mask as parameter 156 with the test scale.
    bool ToggleOperator(int n);

    // --- the synthesiser ------------------------------------------------------
    bool midiOn() const;
    // The editor became the active window: with MIDI on the whole voice is sent.
    void Activate();
    // Right button on the editor: the test scale, unless modCtrlKey.
    void PlayScale();
    // A graph drag's test note 60, and its note-off on release (the release
    // sends nothing while modCtrlKey is set).
    void PlayTestNote();
    void EndTestNote();

    // --- undo -------------------------------------------------------------
    bool canUndo() const;
    bool canRedo() const;
    bool Undo();
    bool Redo();
    // What Undo / Redo would take back: "Value", "Algorithm", "Name", "Reset",
    // "Copy", "Drag"; "" when there is nothing.
    std::string undoLabel() const;
    std::string redoLabel() const;
    // Every edit between begin and end becomes one undo step (a graph drag
    // from press to release). Nesting counts; end without begin does nothing.
    void beginEditGroup(const std::string& label = "Drag");
    void endEditGroup();

    // --- saving -----------------------------------------------------------
    // CRC-32 of the voice when loaded or last stored into the list.
    std::int32_t ChecksumOnEntry() const;
    // The voice differs from what the list holds for it.
    bool isChanged() const;
    enum class SaveResult { Saved, Unchanged, Declined, Failed };
    // File > Save Voice (ask = false) and the saves before a list is saved
    // (ask = true): writes the voice into its list's row; the list then
    // counts as changed. Declined: the user did not answer Yes.
    SaveResult SaveVoice(bool ask);
    // The window's close request: unchanged -> true; changed -> "<caption> has
    // changed" / "Save Changes ?" (Yes/No/Cancel): Yes stores (true unless the
    // store failed), No drops the edits (true), Cancel keeps the editor (false).
    // Closing itself (leaving the list's collections) is VoiceEditor::requestClose.
    bool QueryClose();

private:
    struct Impl;
    void refreshGridTexts(int g);
    void notify(EditorRefresh refresh);
    bool applyVoice(const ByteString& target, bool sendWholeVoice, EditorRefresh& refresh);
    bool restoreStep(const std::optional<EditorUndoStep>& step, bool after);

    Session& m_session;
    std::shared_ptr<VoiceEditor> m_editor;
    std::unique_ptr<Impl> m_impl;
    std::string m_caption;
    int m_operatorStatus = 63;
    EditorUndo m_undo;
};

} // namespace toneloft
