#include "GuiTestRegistry.h"

#include "common/ui/HelpTopics.h"
#include "common/ui/HelpWindow.h"
#include "library/ui/frmStartup.h"
#include "support/ScriptedUi.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>
#include <QTextBrowser>
#include <QTreeWidget>

using toneloft::HelpLocation;
using toneloft::HelpTopics;
using toneloft::HelpWindow;

// The help pages and the topics the program opens in them.
class HelpTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void topicPathsParse_data();
    void topicPathsParse();
    void everyTopicLeadsToAPageAndAnchor();
    void everyLinkInThePagesResolves();
    void contentsAndIndexPointIntoThePages();
    void searchFindsPagesWithEveryWord();
    void programCopyMatchesTheSources();
    void helpRequestsFromTheMainWindow();

private:
    QString m_dir = QStringLiteral(TONELOFT_HELP_SOURCE_DIR);
};

void HelpTest::initTestCase()
{
    QVERIFY2(QDir(m_dir).exists(), qPrintable(m_dir));
}

void HelpTest::topicPathsParse_data()
{
    QTest::addColumn<QString>("topic");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("anchor");
    QTest::newRow("path") << "::/dlg_MainWindow.htm#FileOpen" << true << "dlg_MainWindow.htm" << "FileOpen";
    QTest::newRow("with help file") << "/opt/toneloft/Toneloft.chm::/dlg_MainWindow.htm#EditFind"
                                    << true << "dlg_MainWindow.htm" << "EditFind";
    QTest::newRow("page only") << "::/midi.htm" << true << "midi.htm" << "";
    QTest::newRow("context") << "2420" << true << "quick_tour.htm" << "";
    QTest::newRow("context with anchor") << " 9200 " << true << "dlg_MainWindow.htm" << "EditSort";
    QTest::newRow("unknown context") << "1234" << false << "" << "";
    QTest::newRow("leaves the folder") << "::/../secret.htm" << false << "" << "";
    QTest::newRow("subfolder") << "::/a/b.htm#x" << false << "" << "";
    QTest::newRow("empty is home") << "" << true << "welcome.htm" << "";
}

void HelpTest::topicPathsParse()
{
    QFETCH(QString, topic);
    QFETCH(bool, valid);
    QFETCH(QString, page);
    QFETCH(QString, anchor);
    const auto location = HelpTopics::resolve(topic);
    QCOMPARE(location.has_value(), valid);
    if (valid)
        QCOMPARE(*location, (HelpLocation{page, anchor}));
}

void HelpTest::everyTopicLeadsToAPageAndAnchor()
{
    HelpWindow help(m_dir);
    QStringList topics = HelpTopics::topicPaths();
    for (int n : HelpTopics::contextNumbers())
        topics << QString::number(n);
    topics << QString::fromLatin1(HelpTopics::kMainWindowTopic);
    for (int n : {2000, 2100, 2200, 2400, 2420, 2440, 9000, 9200, 10000, 11000})
        QVERIFY2(HelpTopics::contextNumbers().contains(n), qPrintable(QString::number(n)));
    for (const char* path : {"#FileOpen", "#FileSaveAs", "#EditFind", "#EditDuplicates",
                             "#EditGroupPatches", "#PageTitle"})
        QVERIFY(topics.contains(QStringLiteral("::/dlg_MainWindow.htm") + QLatin1String(path)));

    for (const QString& topic : topics) {
        const auto location = HelpTopics::resolve(topic);
        QVERIFY2(location, qPrintable(topic));
        QVERIFY2(help.hasPage(location->page), qPrintable(topic));
        if (!location->anchor.isEmpty())
            QVERIFY2(help.anchorsOf(location->page).contains(location->anchor), qPrintable(topic));
        QVERIFY(help.showTopic(topic));
        QCOMPARE(help.currentLocation(), *location);
    }
    QVERIFY(!help.showTopic(QStringLiteral("::/missing.htm")));
    QCOMPARE(help.currentLocation().page, QString::fromLatin1(HelpTopics::kHomePage));
}

void HelpTest::everyLinkInThePagesResolves()
{
    HelpWindow help(m_dir);
    QVERIFY(help.pages().size() >= 10);
    const QRegularExpression href(QStringLiteral("href=\"([^\"]+)\""));
    for (const auto& page : help.pages()) {
        QFile f(QDir(m_dir).filePath(page.file));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(f.readAll());
        QVERIFY2(!page.title.isEmpty() && page.title != page.file, qPrintable(page.file));
        for (auto it = href.globalMatch(html); it.hasNext();) {
            const QString link = it.next().captured(1);
            if (link.endsWith(QLatin1String(".css")))
                continue;
            const QString where = page.file + QStringLiteral(" -> ") + link;
            QString target = link.section(QLatin1Char('#'), 0, 0);
            const QString anchor = link.section(QLatin1Char('#'), 1);
            if (target.isEmpty())
                target = page.file;
            QVERIFY2(help.hasPage(target), qPrintable(where));
            if (!anchor.isEmpty())
                QVERIFY2(help.anchorsOf(target).contains(anchor), qPrintable(where));
        }
    }
}

void HelpTest::contentsAndIndexPointIntoThePages()
{
    HelpWindow help(m_dir);
    QTreeWidget* tree = help.contentsTree();
    QVERIFY(tree->topLevelItemCount() >= 8);
    // The main window's entry has its sections below it.
    QTreeWidgetItem* mainWindow = nullptr;
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        if (tree->topLevelItem(i)->text(0) == QStringLiteral("The main window"))
            mainWindow = tree->topLevelItem(i);
    QVERIFY(mainWindow);
    QVERIFY(mainWindow->childCount() >= 8);

    Q_EMIT tree->itemClicked(mainWindow->child(0), 0);
    QCOMPARE(help.currentLocation(), (HelpLocation{QStringLiteral("dlg_MainWindow.htm"), QStringLiteral("FileMenu")}));

    bool findingListed = false;
    for (const auto& entry : help.index()) {
        QVERIFY2(help.hasPage(entry.location.page), qPrintable(entry.term));
        findingListed = findingListed || (entry.term == QStringLiteral("Finding a voice") &&
                                          entry.location.anchor == QStringLiteral("EditFind"));
    }
    QVERIFY(findingListed);
}

void HelpTest::searchFindsPagesWithEveryWord()
{
    HelpWindow help(m_dir);
    auto pagesFor = [&](const QString& q) {
        QStringList files;
        for (const auto& l : help.search(q))
            files << l.page;
        return files;
    };
    QVERIFY(pagesFor(QStringLiteral("B*SS")).contains(QStringLiteral("dlg_MainWindow.htm")));
    QVERIFY(pagesFor(QStringLiteral("vxc.ini")).contains(QStringLiteral("dx_to_sy.htm")));
    QCOMPARE(pagesFor(QStringLiteral("syinit.dat ALGORITHM")), QStringList{});
    QCOMPARE(pagesFor(QStringLiteral("   ")), QStringList{});
    QVERIFY(!pagesFor(QStringLiteral("bank")).contains(QString::fromLatin1(HelpTopics::kContentsPage)));
}

void HelpTest::programCopyMatchesTheSources()
{
    // The build copies the pages beside the program, where the help window reads them.
    const QDir copy(HelpTopics::helpDirectory());
    for (const QString& file : QDir(m_dir).entryList(QDir::Files)) {
        QFile a(QDir(m_dir).filePath(file));
        QFile b(copy.filePath(file));
        QVERIFY2(b.open(QIODevice::ReadOnly), qPrintable(b.fileName()));
        QVERIFY(a.open(QIODevice::ReadOnly));
        QVERIFY2(a.readAll() == b.readAll(), qPrintable(file));
    }
}

void HelpTest::helpRequestsFromTheMainWindow()
{
    toneloft::test::ScriptedUi ui;
    toneloft::frmStartup w(&ui);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.activateWindow();
    QTest::keyClick(&w, Qt::Key_F1);
    QCOMPARE(w.helpWindow().currentLocation(),
             (HelpLocation{QStringLiteral("dlg_MainWindow.htm"), QStringLiteral("PageTitle")}));
    QVERIFY(w.helpWindow().isVisible());

    w.runCommand(toneloft::MainCommand::HelpTechnicalSupport);
    QCOMPARE(w.helpWindow().currentLocation().page, QStringLiteral("support.htm"));
    w.runCommand(toneloft::MainCommand::HelpQuickTour);
    QCOMPARE(w.helpWindow().currentLocation().page, QStringLiteral("quick_tour.htm"));

    QVERIFY(w.close());
    QVERIFY(!w.helpWindow().isVisible());

    // The core's help requests reach the same window through the Qt services.
    toneloft::frmStartup desktop;
    desktop.ui().openHelp("::/dlg_MainWindow.htm#FileSaveAs");
    QCOMPARE(desktop.helpWindow().currentLocation(),
             (HelpLocation{QStringLiteral("dlg_MainWindow.htm"), QStringLiteral("FileSaveAs")}));
}

TONELOFT_GUI_TEST(HelpTest);
#include "HelpTest.moc"
