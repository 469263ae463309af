#pragma once

#include "common/ui/HelpTopics.h"

#include <QWidget>

class QLineEdit;
class QListWidget;
class QTabWidget;
class QTextBrowser;
class QTreeWidget;

namespace toneloft {

// The program's help: the pages of the help folder in a browser, with a
// contents tree (from contents.htm), an index (the pages' titles and anchored
// headings) and a full-text search.
class HelpWindow : public QWidget {
    Q_OBJECT

public:
    enum class Tab { Contents, Index, Search };

    struct Page {
        QString file;
        QString title;
        QString text; // plain text, for the search
    };
    struct IndexEntry {
        QString term;
        HelpLocation location;
    };

    explicit HelpWindow(const QString& helpDirectory = HelpTopics::helpDirectory(),
                        QWidget* parent = nullptr);

    // Shows a topic path or context number; an unknown topic shows the home page.
    // False when the topic did not lead to an existing page.
    bool showTopic(const QString& topic);
    bool showLocation(const HelpLocation& location);
    void showTab(Tab tab);

    const QList<Page>& pages() const { return m_pages; }
    const QList<IndexEntry>& index() const { return m_index; }
    // Pages holding every word of the query (case ignored), most hits first.
    QList<HelpLocation> search(const QString& query) const;
    bool hasPage(const QString& file) const;
    // Anchor names defined on a page of the help folder.
    QStringList anchorsOf(const QString& file) const;
    HelpLocation currentLocation() const;

    QTextBrowser* browser() const { return m_browser; }
    QTreeWidget* contentsTree() const { return m_contents; }

private:
    void loadPages();
    void loadContents();
    void fillIndex(const QString& filter);
    void runSearch();
    QString pagePath(const QString& file) const;

    QString m_dir;
    QList<Page> m_pages;
    QList<IndexEntry> m_index;
    QTabWidget* m_tabs;
    QTreeWidget* m_contents;
    QLineEdit* m_indexFilter;
    QListWidget* m_indexList;
    QLineEdit* m_searchText;
    QListWidget* m_searchResults;
    QTextBrowser* m_browser;
};

} // namespace toneloft
