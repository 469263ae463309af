#include "editor/ui/frmRandomiseVoices.h"

#include "editor/RandomiseVoices.h"
#include "editor/ui/frmAlgorithms.h"

#include <QApplication>
#include <QCheckBox>
#include <QHideEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <functional>

namespace toneloft {

namespace {

constexpr int kKeyRole = Qt::UserRole;

QString text(const std::string& bytes)
{
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string keyOf(const QTreeWidgetItem* item)
{
    return item->data(0, kKeyRole).toString().toStdString();
}

} // namespace

frmRandomiseVoices::frmRandomiseVoices(RandomiseVoices& core, QWidget* parent) : QDialog(parent), m_core(core)
{
    setObjectName(QStringLiteral("frmRandomiseVoices"));
    setWindowTitle(QStringLiteral("Patch Generator"));
    setModal(false);
    buildControls();
    m_core.changed = [this] { refresh(); };
    refresh();
}

frmRandomiseVoices::~frmRandomiseVoices()
{
    m_core.changed = nullptr;
}

void frmRandomiseVoices::buildControls()
{
    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(QStringLiteral("TreeView1"));
    m_tree->setHeaderHidden(true);
    m_tree->setColumnCount(1);
    m_tree->setMinimumSize(300, 320);
    m_tree->header()->setSectionResizeMode(QHeaderView::ResizeToContents);

    m_varianceText = new QLineEdit(this);
    m_varianceText->setObjectName(QStringLiteral("Text1"));
    m_varianceText->setMaximumWidth(48);
    m_varianceSpin = new QSpinBox(this);
    m_varianceSpin->setObjectName(QStringLiteral("UpDown1"));
    m_varianceSpin->setRange(0, 100);
    // Only the arrows show: the number is typed into Text1 beside it.
    m_varianceSpin->setFixedWidth(m_varianceSpin->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 6);
    m_varianceLabel = new QLabel(QString::fromLatin1(RandomiseVoices::kSingleLabel), this);
    m_varianceLabel->setObjectName(QStringLiteral("Label2"));
    m_varianceLabel->setBuddy(m_varianceText);

    m_prefix = new QLineEdit(QString::fromLatin1(RandomiseVoices::kDefaultPrefix), this);
    m_prefix->setObjectName(QStringLiteral("MaskEdBox1"));
    m_prefix->setMaxLength(RandomiseVoices::kPrefixLength);
    // Voice names are printable 7-bit characters.
    m_prefix->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[\\x20-\\x7E]{0,6}")), m_prefix));
    m_prefix->setMaximumWidth(80);
    m_prefixLabel = new QLabel(QStringLiteral("&Prefix"), this);
    m_prefixLabel->setObjectName(QStringLiteral("Label3"));
    m_prefixLabel->setBuddy(m_prefix);

    m_continuous = new QCheckBox(QStringLiteral("&Continuous"), this);
    m_continuous->setObjectName(QStringLiteral("Check1_0"));
    m_load = new QCheckBox(QStringLiteral("&Load Voice on Creation"), this);
    m_load->setObjectName(QStringLiteral("Check1_1"));
    m_command = new QPushButton(QString::fromLatin1(RandomiseVoices::kStart), this);
    m_command->setObjectName(QStringLiteral("Command1"));
    m_command->setAutoDefault(false);

    auto* variance = new QHBoxLayout;
    variance->setSpacing(0);
    variance->addWidget(m_varianceText);
    variance->addWidget(m_varianceSpin);
    variance->addStretch(1);
    auto* prefix = new QHBoxLayout;
    prefix->addWidget(m_prefix);
    prefix->addStretch(1);

    auto* side = new QVBoxLayout;
    side->addWidget(m_varianceLabel);
    side->addLayout(variance);
    side->addSpacing(8);
    side->addWidget(m_prefixLabel);
    side->addLayout(prefix);
    side->addSpacing(8);
    side->addWidget(m_continuous);
    side->addWidget(m_load);
    side->addStretch(1);
    side->addWidget(m_command);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_tree, 1);
    layout->addLayout(side);

    connect(m_tree, &QTreeWidget::itemChanged, this, &frmRandomiseVoices::itemChanged);
    connect(m_tree, &QTreeWidget::itemClicked, this, &frmRandomiseVoices::itemClicked);
    connect(m_tree, &QTreeWidget::itemExpanded, this,
            [this](QTreeWidgetItem* item) { m_expanded.insert(keyOf(item)); });
    connect(m_tree, &QTreeWidget::itemCollapsed, this,
            [this](QTreeWidgetItem* item) { m_expanded.erase(keyOf(item)); });
    connect(m_varianceSpin, &QSpinBox::valueChanged, this, [this](int value) {
        m_core.setVariance(value);
        if (!m_typing)
            m_varianceText->setText(QString::number(value));
    });
    // The typed number counts when the entry is finished (Enter, or the focus
    // moving on), so that typing 150 does not pass through 1 and 15 first.
    connect(m_varianceText, &QLineEdit::editingFinished, this, [this] {
        if (!m_core.varianceTyped(m_varianceText->text().toStdString()))
            return;
        m_typing = true;
        m_varianceSpin->setValue(m_core.variance());
        m_typing = false;
    });
    connect(m_prefix, &QLineEdit::textChanged, this,
            [this](const QString& typed) { m_core.setPrefix(typed.toLatin1().toStdString()); });
    connect(m_prefix, &QLineEdit::returnPressed, this, &frmRandomiseVoices::startFromPrefix);
    connect(m_continuous, &QCheckBox::toggled, this, [this](bool on) {
        if (!m_updating)
            m_core.setContinuous(on);
    });
    connect(m_load, &QCheckBox::toggled, this, [this](bool on) {
        if (!m_updating)
            m_core.setLoadOnCreation(on);
    });
    connect(m_command, &QPushButton::clicked, this, &frmRandomiseVoices::commandClicked);

    m_varianceSpin->setValue(m_core.variance());
    m_varianceText->setText(QString::number(m_core.variance()));
    m_core.setPrefix(RandomiseVoices::kDefaultPrefix);
}

QTreeWidgetItem* frmRandomiseVoices::itemOf(const std::string& key) const
{
    for (QTreeWidgetItemIterator it(m_tree); *it; ++it)
        if (keyOf(*it) == key)
            return *it;
    return nullptr;
}

void frmRandomiseVoices::refresh()
{
    if (m_core.tree().structureVersion() != m_shownVersion)
        rebuildTree();
    else
        updateItems();
    applyControls();
}

void frmRandomiseVoices::rebuildTree()
{
    const bool was = m_updating;
    m_updating = true;
    m_tree->clear();
    const PatchGenTree& tree = m_core.tree();
    const QIcon fileIcon = style()->standardIcon(QStyle::SP_DirIcon);
    const QIcon voiceIcon = style()->standardIcon(QStyle::SP_FileIcon);
    std::function<void(const PatchGenTree::Node&, QTreeWidgetItem*)> add = [&](const PatchGenTree::Node& node,
                                                                              QTreeWidgetItem* parent) {
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(m_tree);
        item->setData(0, kKeyRole, QString::fromStdString(node.key));
        item->setText(0, text(node.text()));
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(0, node.checked ? Qt::Checked : Qt::Unchecked);
        if (node.kind == PatchGenTree::Kind::File || node.kind == PatchGenTree::Kind::Root)
            item->setIcon(0, fileIcon);
        else if (node.kind == PatchGenTree::Kind::Voice)
            item->setIcon(0, voiceIcon);
        for (const PatchGenTree::Node* child : node.children)
            add(*child, item);
        // The root and the lists open when they first appear; the rest as the user left them.
        const bool opensItself = node.kind == PatchGenTree::Kind::Root || node.kind == PatchGenTree::Kind::File;
        if (opensItself && !m_seen.count(node.key))
            m_expanded.insert(node.key);
        m_seen.insert(node.key);
        item->setExpanded(m_expanded.count(node.key) > 0);
    };
    if (const PatchGenTree::Node* root = tree.root())
        add(*root, nullptr);
    m_shownVersion = tree.structureVersion();
    m_updating = was;
}

void frmRandomiseVoices::updateItems()
{
    const bool was = m_updating;
    m_updating = true;
    const PatchGenTree& tree = m_core.tree();
    for (QTreeWidgetItemIterator it(m_tree); *it; ++it) {
        const PatchGenTree::Node* node = tree.find(keyOf(*it));
        if (!node)
            continue;
        const QString shown = text(node->text());
        if ((*it)->text(0) != shown)
            (*it)->setText(0, shown);
        const Qt::CheckState state = node->checked ? Qt::Checked : Qt::Unchecked;
        if ((*it)->checkState(0) != state)
            (*it)->setCheckState(0, state);
    }
    m_updating = was;
}

void frmRandomiseVoices::applyControls()
{
    const RandomiseVoices::Controls& c = m_core.controls();
    const bool was = m_updating;
    m_updating = true;
    m_command->setText(QString::fromLatin1(c.buttonCaption.c_str()));
    m_command->setEnabled(c.startEnabled);
    m_varianceText->setEnabled(c.varianceEnabled);
    m_varianceSpin->setEnabled(c.varianceEnabled);
    m_varianceLabel->setEnabled(c.varianceEnabled);
    m_varianceLabel->setText(QString::fromLatin1(c.varianceLabel.c_str()));
    m_continuous->setEnabled(c.continuousEnabled);
    m_continuous->setChecked(m_core.continuous());
    m_load->setEnabled(c.loadEnabled);
    m_load->setChecked(m_core.loadOnCreation());
    m_updating = was;
}

void frmRandomiseVoices::itemChanged(QTreeWidgetItem* item, int column)
{
    if (m_updating || column != 0)
        return;
    m_core.tick(keyOf(item), item->checkState(0) == Qt::Checked);
}

void frmRandomiseVoices::itemClicked(QTreeWidgetItem* item, int)
{
    std::string listKey;
    long voice = 0;
    if (!PatchGenTree::parseVoiceKey(keyOf(item), listKey, voice))
        return;
    // The voice's algorithm, as its text "(Alg n)" tells, for reference.
    frmAlgorithms::ShowAlgorithmOfNode(item->text(0), parentWidget());
    if (m_showVoice)
        m_showVoice(listKey, voice);
}

void frmRandomiseVoices::commandClicked()
{
    if (m_core.running()) {
        m_core.stop();
        return;
    }
    m_core.start();
}

void frmRandomiseVoices::startFromPrefix()
{
    if (m_command->isEnabled())
        commandClicked();
}

void frmRandomiseVoices::showEvent(QShowEvent* event)
{
    // MIDI may have come or gone while the window was hidden.
    m_core.SetPatchGenControls();
    QDialog::showEvent(event);
}

void frmRandomiseVoices::hideEvent(QHideEvent* event)
{
    // Closing only hides the window, so the tree and settings stay for next
    // time; a run does not go on unseen.
    m_core.stop();
    frmAlgorithms::Unload();
    QDialog::hideEvent(event);
}

} // namespace toneloft
