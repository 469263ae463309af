#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace toneloft {

// A place in the help: a page file in the help folder and an anchor on it
// (empty for the top of the page).
struct HelpLocation {
    QString page;
    QString anchor;

    bool operator==(const HelpLocation&) const = default;
};

// Maps the help topics the program opens onto the pages in the help folder.
// "Toneloft.chm" names the help as a whole; a topic is its path inside it
// ("::/dlg_MainWindow.htm#FileOpen", with or without the help file in front)
// or a context number ("2420").
class HelpTopics {
public:
    static constexpr const char* kHelpFileName = "Toneloft.chm";
    static constexpr const char* kContentsPage = "contents.htm";
    static constexpr const char* kHomePage = "welcome.htm";
    // The topic of the main window itself (F1 on it).
    static constexpr const char* kMainWindowTopic = "::/dlg_MainWindow.htm#PageTitle";

    static std::optional<HelpLocation> resolve(const QString& topic);
    static std::optional<HelpLocation> forContext(int contextNumber);

    // Every topic path and context number the program opens.
    static QStringList topicPaths();
    static QList<int> contextNumbers();

    // The help folder beside the program.
    static QString helpDirectory();
};

} // namespace toneloft
