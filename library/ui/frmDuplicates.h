#pragma once

#include "library/DuplicateSearch.h"
#include "library/SearchProgress.h"

#include <QDialog>
#include <QPointer>

#include <string>

class QCheckBox;
class QPushButton;
class QRadioButton;

namespace toneloft {

class Session;
class VoiceList;
class frmContinueSearchDlg;
class frmDupStatus;

// "Search for Duplicate Voice Patches": the rule, automatic deletion, the range
// and sorting; Search runs the duplicate search on the list it was given and
// shows its progress in frmDupStatus.
class frmDuplicates : public QDialog {
    Q_OBJECT

public:
    explicit frmDuplicates(Session& session, QWidget* parent = nullptr);
    ~frmDuplicates() override;

    // The list to search; the dialog follows it until it goes.
    void setList(VoiceList* list);
    // The list windows' states: the bank on screen is the Bank range, and a
    // sort first moves it.
    void setViewStateOf(VoiceListViewStateOf viewOf) { m_viewOf = std::move(viewOf); }
    VoiceList* list() const;
    // Places the dialog at 0.375 of the main window's width and 25 from its top.
    void placeOver(const QWidget& mainWindow);

    DuplicateSearch::Options options() const;
    // The Search button; the result of the last search.
    void search();
    const DuplicateSearch::Result& lastResult() const { return m_result; }

    QRadioButton* Option1(int index) const { return m_rules[index]; }
    QRadioButton* Option2(int index) const { return m_ranges[index]; }
    QCheckBox* Check1() const { return m_autoDelete; }
    QCheckBox* Check2() const { return m_sortFirst; }
    QPushButton* OKButton() const { return m_ok; }
    QPushButton* CancelButton() const { return m_cancel; }
    QPushButton* Command1() const { return m_help; }
    frmDupStatus* statusWindow() const;
    frmContinueSearchDlg* continueDialog() const;

private:
    void rangeChosen(int index);
    // What the search sees of the progress window and the continue dialog.
    class Progress : public SearchProgress {
    public:
        explicit Progress(frmDuplicates& owner) : m_owner(owner) {}
        void open() override;
        void close() override;
        bool shown() const override;
        void SearchStatus(const DuplicateStatus& status) override;
        bool takeCancelRequest() override;
        ContinueChoice continueSearch() override;

    private:
        frmDuplicates& m_owner;
    };

    Session& m_session;
    std::string m_listId; // the list is looked up on use: it may have closed
    VoiceListViewStateOf m_viewOf;
    QRadioButton* m_rules[4] = {};
    QRadioButton* m_ranges[3] = {};
    QCheckBox* m_autoDelete;
    QCheckBox* m_sortFirst;
    QPushButton* m_ok;
    QPushButton* m_cancel;
    QPushButton* m_help;
    QPointer<frmDupStatus> m_status;
    QPointer<frmContinueSearchDlg> m_continue;
    DuplicateSearch::Result m_result;
    Progress m_progress{*this};
};

} // namespace toneloft
