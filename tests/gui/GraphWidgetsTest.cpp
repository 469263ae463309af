#include "GuiTestRegistry.h"

#include "editor/ui/AlgorithmDiagram.h"
#include "editor/ui/EgZoomBox.h"
#include "editor/ui/EnvelopeGraph.h"
#include "editor/ui/LevelScalingGraph.h"
#include "editor/ui/frmAlgorithms.h"

#include <QGroupBox>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>

#include <map>
#include <vector>

using namespace toneloft;

namespace {

// The rows a graph reads, and every write it makes.
struct FakeVoice {
    std::map<int, int> values;
    std::vector<ParameterWrites> writes;

    GraphParameterLink link()
    {
        return {[this](int p) { return values.count(p) ? values[p] : 0; },
                [this](const ParameterWrites& w) {
                    writes.push_back(w);
                    for (const auto& x : w)
                        values[x.param] = x.value;
                }};
    }
};

// Operator 3's envelope: R1..R4 at 64..67, L1..L4 at 68..71.
FakeVoice operator3(std::array<int, 4> rates, std::array<int, 4> levels)
{
    FakeVoice v;
    for (int i = 0; i < 4; ++i) {
        v.values[64 + i] = rates[static_cast<std::size_t>(i)];
        v.values[68 + i] = levels[static_cast<std::size_t>(i)];
    }
    return v;
}

QPoint at(const ParameterGraph& g, int point)
{
    return g.pointPosition(point).toPoint();
}

void show(QWidget& w, QSize size)
{
    w.resize(size);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
}

} // namespace

class GraphWidgetsTest : public QObject {
    Q_OBJECT

private slots:
    void draggingARatePointOntoThePreviousGivesRate99();
    void keyOffPointStaysPut();
    void keysMoveTheSelectedPoint();
    void zoomStretchesTheEnvelope();
    void levelScalingEndDraggedUpTurnsTheCurve();
    void operatorBoxesToggle_data();
    void operatorBoxesToggle();
    void algorithmsWindowShowsOneDiagram_data();
    void algorithmsWindowShowsOneDiagram();
};

void GraphWidgetsTest::draggingARatePointOntoThePreviousGivesRate99()
{
    FakeVoice voice = operator3({20, 30, 40, 50}, {99, 80, 60, 10});
    EnvelopeGraph graph(3);
    graph.setParameterLink(voice.link());
    show(graph, {340, 300});
    QSignalSpy dragged(&graph, &ParameterGraph::pointDragged);
    QSignalSpy released(&graph, &ParameterGraph::pointReleased);

    // Point 3 onto point 2: its segment (R2) becomes as short as can be, and L2
    // takes point 2's level.
    const QPoint target = at(graph, 2);
    QTest::mousePress(&graph, Qt::LeftButton, {}, at(graph, 3));
    QCOMPARE(graph.selectedPoint(), 3);
    QCOMPARE(graph.cursor().shape(), Qt::CrossCursor);
    QTest::mouseMove(&graph, target);
    QCOMPARE(voice.writes.size(), std::size_t{1});
    QCOMPARE(voice.writes.back(), (ParameterWrites{{65, 99, true}, {69, 99, true}}));
    QCOMPARE(dragged.count(), 1);

    // Only every second move is applied.
    QTest::mouseMove(&graph, target + QPoint(30, 40));
    QCOMPARE(voice.writes.size(), std::size_t{1});
    QTest::mouseMove(&graph, target + QPoint(30, 40));
    QCOMPARE(voice.writes.size(), std::size_t{2});
    QVERIFY(voice.values[65] < 99);
    QVERIFY(voice.values[69] < 99);

    QTest::mouseRelease(&graph, Qt::LeftButton, {}, target + QPoint(30, 40));
    QCOMPARE(released.count(), 1);
    QCOMPARE(graph.cursor().shape(), Qt::ArrowCursor);
    // The graph now draws the stored values.
    QCOMPARE(graph.envelope().rates[1], voice.values[65]);
}

void GraphWidgetsTest::keyOffPointStaysPut()
{
    // Fast first segments and a slow R4 keep point 5 well apart from 4 and 6.
    FakeVoice voice = operator3({99, 99, 99, 10}, {99, 80, 60, 0});
    EnvelopeGraph graph(3);
    graph.setParameterLink(voice.link());
    show(graph, {340, 300});
    QSignalSpy background(&graph, &ParameterGraph::backgroundPressed);

    QTest::mousePress(&graph, Qt::LeftButton, {}, at(graph, 5));
    QCOMPARE(graph.selectedPoint(), 0);
    QTest::mouseMove(&graph, at(graph, 5) + QPoint(-20, 20));
    QTest::mouseRelease(&graph, Qt::LeftButton, {}, at(graph, 5) + QPoint(-20, 20));
    QVERIFY(voice.writes.empty());
    QCOMPARE(background.count(), 0);

    // Off every point, a press is the start of a copy gesture instead.
    QTest::mousePress(&graph, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(background.count(), 1);
    QVERIFY(voice.writes.empty());
}

void GraphWidgetsTest::keysMoveTheSelectedPoint()
{
    FakeVoice voice = operator3({20, 30, 40, 50}, {99, 80, 60, 10});
    EnvelopeGraph graph(3);
    graph.setParameterLink(voice.link());
    show(graph, {340, 300});
    graph.setFocus();

    QTest::keyClick(&graph, Qt::Key_3);
    QCOMPARE(graph.selectedPoint(), 3);
    QTest::keyClick(&graph, Qt::Key_Up);
    QCOMPARE(voice.writes.back(), (ParameterWrites{{69, 81, true}}));
    QTest::keyClick(&graph, Qt::Key_Right); // a longer segment: slower R2
    QCOMPARE(voice.writes.back(), (ParameterWrites{{65, 29, true}}));
    QTest::keyClick(&graph, Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(voice.writes.back(), (ParameterWrites{{69, 71, true}}));

    // Stepping through the points passes over the key-off point.
    QTest::keyClick(&graph, Qt::Key_4);
    QTest::keyClick(&graph, Qt::Key_Right, Qt::ControlModifier);
    QCOMPARE(graph.selectedPoint(), 6);
    QTest::keyClick(&graph, Qt::Key_5);
    QCOMPARE(graph.selectedPoint(), 6);
    // At the top already: nothing to write.
    QTest::keyClick(&graph, Qt::Key_2);
    const std::size_t before = voice.writes.size();
    QTest::keyClick(&graph, Qt::Key_Up);
    QCOMPARE(voice.writes.size(), before);
}

void GraphWidgetsTest::zoomStretchesTheEnvelope()
{
    FakeVoice voice = operator3({20, 30, 40, 50}, {99, 80, 60, 10});
    EnvelopeGraph graph(3);
    graph.setParameterLink(voice.link());
    EgZoomBox zoom;
    QObject::connect(&zoom, &QSpinBox::valueChanged, &graph, &EnvelopeGraph::setZoomExponent);
    show(graph, {340, 300});
    QCOMPARE(zoom.text(), QStringLiteral("1"));

    const double length = graph.pointPosition(6).x() - graph.pointPosition(1).x();
    zoom.stepUp();
    QCOMPARE(zoom.text(), QStringLiteral("2"));
    QCOMPARE(graph.zoomExponent(), 5);
    QCOMPARE(graph.pointPosition(6).x() - graph.pointPosition(1).x(), 2 * length);
    zoom.setValue(2);
    QCOMPARE(zoom.text(), QStringLiteral("0.25"));
    QCOMPARE(graph.pointPosition(6).x() - graph.pointPosition(1).x(), length / 4);
}

void GraphWidgetsTest::levelScalingEndDraggedUpTurnsTheCurve()
{
    // Operator 2: BP 93, LD 94, RD 95, LC 96, RC 97; left side -EXP, depth 30.
    FakeVoice voice;
    voice.values = {{93, 50}, {94, 30}, {95, 0}, {96, 1}, {97, 0}};
    LevelScalingGraph graph(2);
    graph.setParameterLink(voice.link());
    show(graph, {340, 240});
    QVERIFY(qAbs(graph.pointValue(1).y - 69) < 1e-3); // 99 - 30

    const QPoint nearTop(at(graph, 1).x(), static_cast<int>(graph.height() * 0.25));
    QTest::mousePress(&graph, Qt::LeftButton, {}, at(graph, 1));
    QTest::mouseMove(&graph, nearTop);
    QTest::mouseRelease(&graph, Qt::LeftButton, {}, nearTop);
    QCOMPARE(voice.writes.size(), std::size_t{1});
    const ParameterWrites& w = voice.writes.back();
    QCOMPARE(w.size(), std::size_t{2});
    QCOMPARE(w[0].param, 94);
    QVERIFY2(w[0].value > 60, "dragged well above the centre");
    QCOMPARE(w[1], (ParameterWrite{96, 2, false})); // now +EXP
    QVERIFY(!w[0].send);
    QVERIFY(graph.pointValue(1).y > 160);

    // The break point by keyboard.
    graph.setFocus();
    QTest::keyClick(&graph, Qt::Key_2);
    QTest::keyClick(&graph, Qt::Key_Right);
    QCOMPARE(voice.writes.back(), (ParameterWrites{{93, 51, false}}));
    QCOMPARE(graph.curve().breakKey, 51);
}

void GraphWidgetsTest::operatorBoxesToggle_data()
{
    QTest::addColumn<int>("algorithm");
    QTest::addColumn<int>("op");
    QTest::addColumn<bool>("midiOn");
    QTest::addColumn<int>("mask");
    QTest::addColumn<bool>("toggled");
    QTest::addColumn<bool>("on");
    QTest::addColumn<int>("newMask");

    // Bit 2^(6 - n) is operator n: operator 3 is 8.
    QTest::newRow("operator 3 off") << 0 << 3 << true << 63 << true << false << 55;
    QTest::newRow("from no mask") << 21 << 6 << true << 0 << true << true << 63;
    QTest::newRow("operator 1 back on") << 31 << 1 << true << 31 << true << true << 63;
    QTest::newRow("MIDI off") << 4 << 2 << false << 63 << false << true << 63;
}

void GraphWidgetsTest::operatorBoxesToggle()
{
    QFETCH(int, algorithm);
    QFETCH(int, op);
    QFETCH(bool, midiOn);
    QFETCH(int, mask);
    QFETCH(bool, toggled);
    QFETCH(bool, on);
    QFETCH(int, newMask);

    AlgorithmDiagram diagram;
    diagram.setAlgorithm(algorithm);
    diagram.setOperatorStatus(mask);
    diagram.setTogglingEnabled(midiOn);
    show(diagram, {220, 180});
    QSignalSpy spy(&diagram, &AlgorithmDiagram::operatorToggled);

    QTest::mouseClick(&diagram, Qt::LeftButton, {}, diagram.operatorRect(op).center().toPoint());
    QCOMPARE(spy.count(), toggled ? 1 : 0);
    if (toggled)
        QCOMPARE(spy.at(0), (QList<QVariant>{op, on, newMask}));
    QCOMPARE(diagram.operatorStatus(), newMask);
    QCOMPARE(diagram.operatorColour(op), on ? QColor(0, 0, 0) : QColor(255, 0, 0));

    // Space toggles the box that has the keyboard focus, back again.
    if (toggled) {
        diagram.setFocus();
        QTest::keyClick(&diagram, Qt::Key_Space);
        QCOMPARE(spy.count(), 2);
        QCOMPARE(diagram.isOperatorOn(op), !on);
    }
}

void GraphWidgetsTest::algorithmsWindowShowsOneDiagram_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("caption");
    QTest::newRow("first") << 0 << "Alg1";
    QTest::newRow("fifth") << 4 << "Alg5";
    QTest::newRow("last") << 31 << "Alg32";
}

void GraphWidgetsTest::algorithmsWindowShowsOneDiagram()
{
    QFETCH(int, value);
    QFETCH(QString, caption);

    frmAlgorithms& w = frmAlgorithms::ShowAlgorithm(value);
    QVERIFY(w.isVisible());
    QCOMPARE(w.windowTitle(), QStringLiteral("Algorithms"));
    QCOMPARE(w.UpDown1()->value(), value);
    QCOMPARE(w.Frame1()->title(), caption);
    QCOMPARE(w.diagram()->algorithm(), value);
    // Showing again reuses the one window.
    QCOMPARE(&frmAlgorithms::ShowAlgorithm(7), &w);
    QCOMPARE(w.Frame1()->title(), QStringLiteral("Alg8"));

    // The spin steps through the diagrams.
    w.UpDown1()->setFocus();
    QTest::keyClick(w.UpDown1(), Qt::Key_Up);
    QCOMPARE(w.Frame1()->title(), QStringLiteral("Alg9"));
    QCOMPARE(w.diagram()->algorithm(), 8);

    frmAlgorithms::ShowAlgorithmOfNode(QStringLiteral("3 BRASS   1 (Alg 22)"));
    QCOMPARE(w.Frame1()->title(), QStringLiteral("Alg22"));
    frmAlgorithms::ShowAlgorithmOfNode(QStringLiteral("Operator 1"));
    QCOMPARE(w.Frame1()->title(), QStringLiteral("Alg22"));

    frmAlgorithms::Unload();
    QVERIFY(!frmAlgorithms::instance());
    frmAlgorithms::Unload(); // nothing to unload: no harm
}

TONELOFT_GUI_TEST(GraphWidgetsTest);
#include "GraphWidgetsTest.moc"
