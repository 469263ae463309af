#include "common/ui/HelpTopics.h"

#include "common/InstallPaths.h"

#include <QCoreApplication>
#include <QDir>

#include <array>

namespace toneloft {

namespace {

struct ContextTopic {
    int number;
    const char* page;
    const char* anchor;
};

// The help context numbers of the menus and tool windows.
constexpr std::array<ContextTopic, 10> kContexts{{
    {2000, "dlg_MainWindow.htm", "FileMenu"},
    {2100, "dlg_MainWindow.htm", "EditMenu"},
    {2200, "midi.htm", "MidiMenu"},
    {2400, "welcome.htm", ""},
    {2420, "quick_tour.htm", ""},
    {2440, "support.htm", ""},
    {9000, "dlg_MainWindow.htm", "EditFind"},
    {9200, "dlg_MainWindow.htm", "EditSort"},
    {10000, "dx_to_sy.htm", ""},
    {11000, "patch_generator.htm", ""},
}};

constexpr std::array<const char*, 6> kPaths{{
    "::/dlg_MainWindow.htm#PageTitle",
    "::/dlg_MainWindow.htm#FileOpen",
    "::/dlg_MainWindow.htm#FileSaveAs",
    "::/dlg_MainWindow.htm#EditFind",
    "::/dlg_MainWindow.htm#EditDuplicates",
    "::/dlg_MainWindow.htm#EditGroupPatches",
}};

} // namespace

std::optional<HelpLocation> HelpTopics::forContext(int contextNumber)
{
    for (const auto& c : kContexts)
        if (c.number == contextNumber)
            return HelpLocation{QString::fromLatin1(c.page), QString::fromLatin1(c.anchor)};
    return std::nullopt;
}

std::optional<HelpLocation> HelpTopics::resolve(const QString& topic)
{
    const QString t = topic.trimmed();
    if (t.isEmpty())
        return HelpLocation{QString::fromLatin1(kHomePage), {}};

    bool isNumber = false;
    const int number = t.toInt(&isNumber);
    if (isNumber)
        return forContext(number);

    // Whatever stands before "::/" names the help file; only the path inside counts.
    const qsizetype inside = t.indexOf(QStringLiteral("::/"));
    QString path = inside >= 0 ? t.mid(inside + 3) : t;
    QString anchor;
    const qsizetype hash = path.indexOf(QLatin1Char('#'));
    if (hash >= 0) {
        anchor = path.mid(hash + 1);
        path.truncate(hash);
    }
    // A page name only: no folders, nothing that leaves the help folder.
    if (path.isEmpty() || path.contains(QLatin1Char('/')) || path.contains(QLatin1Char('\\')) ||
        path.startsWith(QLatin1Char('.')))
        return std::nullopt;
    return HelpLocation{path, anchor};
}

QStringList HelpTopics::topicPaths()
{
    QStringList paths;
    for (const char* p : kPaths)
        paths << QString::fromLatin1(p);
    return paths;
}

QList<int> HelpTopics::contextNumbers()
{
    QList<int> numbers;
    for (const auto& c : kContexts)
        numbers << c.number;
    return numbers;
}

QString HelpTopics::helpDirectory()
{
    // Beside the program in the build tree, in share/toneloft when installed.
    return QString::fromStdString(
        FindInstalledFile(QCoreApplication::applicationDirPath().toStdString(), "help"));
}

} // namespace toneloft
