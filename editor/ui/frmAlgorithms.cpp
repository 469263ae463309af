#include "editor/ui/frmAlgorithms.h"

#include "editor/AlgorithmLayout.h"
#include "editor/ui/AlgorithmDiagram.h"

#include <QGroupBox>
#include <QSpinBox>
#include <QVBoxLayout>

namespace toneloft {

namespace {

// The window is laid out in twips; at 10 twips a pixel its diagram stays
// readable on today's screens.
constexpr double kPixelsPerTwip = 0.1;
constexpr int kDiagramLeft = 50;
constexpr int kDiagramTop = 300;
constexpr int kDiagramRight = 2000;
constexpr int kDiagramBottom = 2450;
constexpr int kSpinFromRight = 450;
constexpr int kSpinBelowDiagram = 200;
constexpr int kSpinWidth = 400;
constexpr int kSpinHeight = 260;

int px(int twips)
{
    return static_cast<int>(twips * kPixelsPerTwip + 0.5);
}

QPointer<frmAlgorithms>& theWindow()
{
    static QPointer<frmAlgorithms> window;
    return window;
}

// The spin holds the algorithm value 0..31 and reads it as the number shown
// on the instrument, 1..32.
class AlgorithmSpin : public QSpinBox {
public:
    using QSpinBox::QSpinBox;

protected:
    QString textFromValue(int value) const override { return QString::number(value + 1); }
    int valueFromText(const QString& text) const override { return text.toInt() - 1; }
    QValidator::State validate(QString& text, int&) const override
    {
        if (text.isEmpty())
            return QValidator::Intermediate;
        bool ok = false;
        const int n = text.toInt(&ok);
        if (!ok)
            return QValidator::Invalid;
        return n >= 1 && n <= 32 ? QValidator::Acceptable : QValidator::Intermediate;
    }
};

} // namespace

frmAlgorithms* frmAlgorithms::instance()
{
    return theWindow().data();
}

frmAlgorithms& frmAlgorithms::ShowAlgorithm(int algorithm, QWidget* parent)
{
    QPointer<frmAlgorithms>& window = theWindow();
    if (!window) {
        window = new frmAlgorithms(parent);
        // At the main window's lower right, clear of its menus and of the editor's
        // own algorithm panel at the top.
        if (parent) {
            const QRect frame = parent->window()->geometry();
            window->adjustSize();
            window->move(std::max(frame.left(), frame.right() - window->width() - 24),
                         std::max(frame.top() + 90, frame.bottom() - window->height() - 40));
        }
    }
    window->m_spin->setValue(std::clamp(algorithm, 0, 31));
    window->show();
    return *window;
}

void frmAlgorithms::ShowAlgorithmOfNode(const QString& nodeText, QWidget* parent)
{
    if (const auto value = AlgorithmOfNodeText(nodeText.toStdString()))
        ShowAlgorithm(*value, parent);
}

void frmAlgorithms::Unload()
{
    delete theWindow().data();
}

frmAlgorithms::frmAlgorithms(QWidget* parent) : QWidget(parent, Qt::Tool)
{
    setObjectName(QStringLiteral("frmAlgorithms"));
    setWindowTitle(tr("Algorithms"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(px(kWidthTwips), px(kHeightTwips));

    m_frame = new QGroupBox(this);
    m_frame->setObjectName(QStringLiteral("Frame1"));
    m_frame->setGeometry(px(kDiagramLeft), px(kDiagramTop), px(kDiagramRight - kDiagramLeft),
                         px(kDiagramBottom - kDiagramTop));
    m_diagram = new AlgorithmDiagram(m_frame);
    auto* frameLayout = new QVBoxLayout(m_frame);
    frameLayout->setContentsMargins(4, 4, 4, 4);
    frameLayout->addWidget(m_diagram);

    m_spin = new AlgorithmSpin(this);
    m_spin->setObjectName(QStringLiteral("UpDown1"));
    m_spin->setRange(0, 31);
    m_spin->setWrapping(true);
    m_spin->setAccessibleName(tr("Algorithm"));
    m_spin->setGeometry(px(kWidthTwips - kSpinFromRight), px(kDiagramTop + kSpinBelowDiagram), px(kSpinWidth),
                        px(kSpinHeight));
    connect(m_spin, &QSpinBox::valueChanged, this, &frmAlgorithms::showDiagram);
    showDiagram(0);
    setFocusProxy(m_spin);
}

frmAlgorithms::~frmAlgorithms() = default;

int frmAlgorithms::algorithm() const
{
    return m_spin->value();
}

void frmAlgorithms::showDiagram(int algorithm)
{
    m_frame->setTitle(QStringLiteral("Alg%1").arg(algorithm + 1));
    m_diagram->setAlgorithm(algorithm);
}

} // namespace toneloft
