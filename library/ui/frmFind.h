#pragma once

#include "library/VoiceListViewState.h"

#include <QDialog>

#include <functional>
#include <string>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace toneloft {

class Session;
class VoiceList;

// "Find": finds a voice by name in the current list or in all open lists.
class frmFind : public QDialog {
    Q_OBJECT

public:
    explicit frmFind(Session& session, QWidget* parent = nullptr);

    // 1-based position in the open lists of the list to search.
    void setListPosition(long position) { m_listPosition = position; }
    long listPosition() const { return m_listPosition; }
    // Fills the options for the lists open now; the text is the name of the
    // current voice of the list to search, when it has one.
    void prepare();
    // Find Next; true when a voice was found.
    bool findNext();

    // Called with the list that holds a found voice, to bring its window forward.
    void setShowFound(std::function<void(VoiceList&, long voice)> show) { m_showFound = std::move(show); }
    // Called after a search that found nothing, to redraw the list searched.
    void setRedraw(std::function<void(VoiceList&)> redraw) { m_redraw = std::move(redraw); }
    // The list windows' states: a search starts at the current voice, and a
    // found voice becomes it, its bank the one on screen.
    void setViewStateOf(VoiceListViewStateOf viewOf) { m_viewOf = std::move(viewOf); }

    QLineEdit* Text1() const { return m_text; }
    QComboBox* Combo1() const { return m_direction; }
    QCheckBox* Check1() const { return m_pattern; }
    QRadioButton* Option1(int index) const { return index == 0 ? m_current : m_all; }
    QPushButton* Command1(int index) const;

Q_SIGNALS:
    // Opened (true) or closed (false) by the program or the user; Find Next follows it.
    void shownChanged(bool shown);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    Session& m_session;
    long m_listPosition = 0;
    QLineEdit* m_text;
    QComboBox* m_direction;
    QCheckBox* m_pattern;
    QRadioButton* m_current;
    QRadioButton* m_all;
    QPushButton* m_buttons[3] = {};
    // The voice the last search found (its list's ID and number): with the
    // direction All the next search goes on after it, while it is still the
    // list's current voice; any other search starts at the first voice.
    std::string m_foundListId;
    long m_foundVoice = 0;
    std::function<void(VoiceList&, long)> m_showFound;
    std::function<void(VoiceList&)> m_redraw;
    VoiceListViewStateOf m_viewOf;
    VoiceListViewState* viewOf(const VoiceList& list) const { return m_viewOf ? m_viewOf(list) : nullptr; }
};

} // namespace toneloft
