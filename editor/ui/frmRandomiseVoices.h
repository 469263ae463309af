#pragma once

#include <QDialog>

#include <cstdint>
#include <functional>
#include <set>
#include <string>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTreeWidget;
class QTreeWidgetItem;

namespace toneloft {

class RandomiseVoices;

// "Patch Generator": the tree of source voices and their parameter groups,
// the variance, the name prefix, and Start / Stop. Shows a RandomiseVoices and
// turns the gestures into its calls.
class frmRandomiseVoices : public QDialog {
    Q_OBJECT

public:
    explicit frmRandomiseVoices(RandomiseVoices& core, QWidget* parent = nullptr);
    ~frmRandomiseVoices() override;

    // Shows what the core holds now: the tree, the ticks, the controls.
    void refresh();

    // A click on a voice node: the list key and the voice number.
    void setShowVoice(std::function<void(const std::string&, long)> show) { m_showVoice = std::move(show); }

    // Controls, for the main window and tests.
    QTreeWidget* TreeView1() const { return m_tree; }
    QLineEdit* Text1() const { return m_varianceText; }
    QSpinBox* UpDown1() const { return m_varianceSpin; }
    QLabel* Label2() const { return m_varianceLabel; }
    QLabel* Label3() const { return m_prefixLabel; }
    QLineEdit* MaskEdBox1() const { return m_prefix; }
    QCheckBox* Check1(int index) const { return index == 0 ? m_continuous : m_load; }
    QPushButton* Command1() const { return m_command; }
    // The item of a tree node's key; nullptr when there is none.
    QTreeWidgetItem* itemOf(const std::string& key) const;

protected:
    void hideEvent(QHideEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void rebuildTree();
    void updateItems();
    void applyControls();
    void itemChanged(QTreeWidgetItem* item, int column);
    void itemClicked(QTreeWidgetItem* item, int column);
    void commandClicked();
    void startFromPrefix();

    RandomiseVoices& m_core;
    QTreeWidget* m_tree = nullptr;
    QLineEdit* m_varianceText = nullptr;
    QSpinBox* m_varianceSpin = nullptr;
    QLabel* m_varianceLabel = nullptr;
    QLabel* m_prefixLabel = nullptr;
    QLineEdit* m_prefix = nullptr;
    QCheckBox* m_continuous = nullptr;
    QCheckBox* m_load = nullptr;
    QPushButton* m_command = nullptr;

    bool m_updating = false;
    bool m_typing = false;
    std::uint64_t m_shownVersion = ~std::uint64_t{0};
    std::set<std::string> m_expanded; // keys of expanded nodes, kept across rebuilds
    std::set<std::string> m_seen;     // keys shown before: a new file node opens once
    std::function<void(const std::string&, long)> m_showVoice;
};

} // namespace toneloft
