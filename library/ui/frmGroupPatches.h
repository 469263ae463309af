#pragma once

#include "library/PatchGrouping.h"
#include "library/SearchProgress.h"

#include <QDialog>
#include <QPointer>

#include <string>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace toneloft {

class Session;
class VoiceList;
class frmGroupStatus;

// "Group Voice Patches": up to six groups of one or two name patterns; Search
// copies or moves the matching voices of the list into a new file per group.
class frmGroupPatches : public QDialog {
    Q_OBJECT

public:
    explicit frmGroupPatches(Session& session, QWidget* parent = nullptr);
    ~frmGroupPatches() override;

    // The list to group; the caption names it.
    void setList(VoiceList* list);
    VoiceList* list() const;
    PatchGrouping::Options options() const;
    // The Search button.
    void search();
    const PatchGrouping::Result& lastResult() const { return m_result; }

    QCheckBox* Check1(int index) const { return m_ticks[index]; }         // groups 0..5
    QLineEdit* MaskEdBox1(int index) const { return m_patterns[index]; }  // 2 per group
    QRadioButton* Option1(int index) const { return m_source[index]; }    // 0 move, 1 copy
    QRadioButton* Option2(int index) const { return m_range[index]; }     // 0 all, 1 selection
    QPushButton* OKButton() const { return m_ok; }
    QPushButton* CancelButton() const { return m_cancel; }
    QPushButton* Command1() const { return m_help; }
    frmGroupStatus* statusWindow() const;

private:
    class Progress : public SearchProgress {
    public:
        explicit Progress(frmGroupPatches& owner) : m_owner(owner) {}
        void open() override;
        void close() override;
        bool shown() const override;
        void GroupStatus(const toneloft::GroupStatus& status) override;
        bool takeCancelRequest() override;

    private:
        frmGroupPatches& m_owner;
    };

    Session& m_session;
    std::string m_listId; // the list is looked up on use: it may have closed
    QCheckBox* m_ticks[PatchGrouping::kGroups] = {};
    QLineEdit* m_patterns[2 * PatchGrouping::kGroups] = {};
    QRadioButton* m_source[2] = {};
    QRadioButton* m_range[2] = {};
    QPushButton* m_ok;
    QPushButton* m_cancel;
    QPushButton* m_help;
    QPointer<frmGroupStatus> m_status;
    PatchGrouping::Result m_result;
    Progress m_progress{*this};
};

} // namespace toneloft
