#include "common/ui/HelpWindow.h"

#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextList>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

namespace toneloft {

namespace {

constexpr int kLocationRole = Qt::UserRole;

QString readPage(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll());
}

QStringList anchorsInBlock(const QTextBlock& block)
{
    QStringList names;
    for (auto it = block.begin(); !it.atEnd(); ++it)
        names << it.fragment().charFormat().anchorNames();
    return names;
}

QString hrefInBlock(const QTextBlock& block)
{
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const auto format = it.fragment().charFormat();
        if (format.isAnchor() && !format.anchorHref().isEmpty())
            return format.anchorHref();
    }
    return {};
}

HelpLocation locationOfHref(const QString& href)
{
    const qsizetype hash = href.indexOf(QLatin1Char('#'));
    if (hash < 0)
        return {href, {}};
    return {href.left(hash), href.mid(hash + 1)};
}

QVariant toVariant(const HelpLocation& l)
{
    return QStringList{l.page, l.anchor};
}

HelpLocation fromVariant(const QVariant& v)
{
    const QStringList parts = v.toStringList();
    if (parts.size() != 2)
        return {};
    return {parts[0], parts[1]};
}

} // namespace

HelpWindow::HelpWindow(const QString& helpDirectory, QWidget* parent)
    : QWidget(parent, Qt::Window),
      m_dir(helpDirectory),
      m_tabs(new QTabWidget(this)),
      m_contents(new QTreeWidget(this)),
      m_indexFilter(new QLineEdit(this)),
      m_indexList(new QListWidget(this)),
      m_searchText(new QLineEdit(this)),
      m_searchResults(new QListWidget(this)),
      m_browser(new QTextBrowser(this))
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Toneloft Help"));
    resize(900, 620);

    m_contents->setHeaderHidden(true);
    m_tabs->addTab(m_contents, QStringLiteral("&Contents"));

    auto* indexPage = new QWidget(this);
    auto* indexLayout = new QVBoxLayout(indexPage);
    m_indexFilter->setPlaceholderText(QStringLiteral("Type the word to look for"));
    indexLayout->addWidget(m_indexFilter);
    indexLayout->addWidget(m_indexList);
    m_tabs->addTab(indexPage, QStringLiteral("&Index"));

    auto* searchPage = new QWidget(this);
    auto* searchLayout = new QVBoxLayout(searchPage);
    auto* searchRow = new QHBoxLayout;
    auto* searchButton = new QPushButton(QStringLiteral("&List Topics"), searchPage);
    searchRow->addWidget(m_searchText, 1);
    searchRow->addWidget(searchButton);
    searchLayout->addLayout(searchRow);
    searchLayout->addWidget(m_searchResults);
    m_tabs->addTab(searchPage, QStringLiteral("&Search"));

    m_browser->setOpenExternalLinks(true);
    m_browser->setSearchPaths({m_dir});

    auto* splitter = new QSplitter(this);
    splitter->addWidget(m_tabs);
    splitter->addWidget(m_browser);
    splitter->setStretchFactor(1, 3);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);

    auto openItem = [this](const QVariant& v) { showLocation(fromVariant(v)); };
    connect(m_contents, &QTreeWidget::itemActivated, this,
            [openItem](QTreeWidgetItem* item, int) { openItem(item->data(0, kLocationRole)); });
    connect(m_contents, &QTreeWidget::itemClicked, this,
            [openItem](QTreeWidgetItem* item, int) { openItem(item->data(0, kLocationRole)); });
    connect(m_indexList, &QListWidget::itemActivated, this,
            [openItem](QListWidgetItem* item) { openItem(item->data(kLocationRole)); });
    connect(m_indexList, &QListWidget::itemClicked, this,
            [openItem](QListWidgetItem* item) { openItem(item->data(kLocationRole)); });
    connect(m_searchResults, &QListWidget::itemActivated, this,
            [openItem](QListWidgetItem* item) { openItem(item->data(kLocationRole)); });
    connect(m_searchResults, &QListWidget::itemClicked, this,
            [openItem](QListWidgetItem* item) { openItem(item->data(kLocationRole)); });
    connect(m_indexFilter, &QLineEdit::textChanged, this, &HelpWindow::fillIndex);
    connect(m_searchText, &QLineEdit::returnPressed, this, &HelpWindow::runSearch);
    connect(searchButton, &QPushButton::clicked, this, &HelpWindow::runSearch);

    loadPages();
    loadContents();
    fillIndex({});
    showLocation({QString::fromLatin1(HelpTopics::kHomePage), {}});
}

QString HelpWindow::pagePath(const QString& file) const
{
    return QDir(m_dir).filePath(file);
}

bool HelpWindow::hasPage(const QString& file) const
{
    return std::any_of(m_pages.begin(), m_pages.end(),
                       [&](const Page& p) { return p.file.compare(file, Qt::CaseInsensitive) == 0; });
}

void HelpWindow::loadPages()
{
    const QStringList files =
        QDir(m_dir).entryList({QStringLiteral("*.htm"), QStringLiteral("*.html")}, QDir::Files,
                              QDir::Name);
    for (const QString& file : files) {
        QTextDocument doc;
        doc.setHtml(readPage(pagePath(file)));
        QString title = doc.metaInformation(QTextDocument::DocumentTitle);
        if (title.isEmpty())
            title = file;
        m_pages.push_back({file, title, doc.toPlainText()});
        if (file == QLatin1String(HelpTopics::kContentsPage))
            continue;
        m_index.push_back({title, {file, {}}});
        for (auto block = doc.begin(); block != doc.end(); block = block.next()) {
            if (block.blockFormat().headingLevel() < 2)
                continue;
            const QStringList anchors = anchorsInBlock(block);
            const QString term = block.text().simplified();
            if (!anchors.isEmpty() && !term.isEmpty())
                m_index.push_back({term, {file, anchors.front()}});
        }
    }
    std::sort(m_index.begin(), m_index.end(), [](const IndexEntry& a, const IndexEntry& b) {
        return a.term.compare(b.term, Qt::CaseInsensitive) < 0;
    });
}

void HelpWindow::loadContents()
{
    QTextDocument doc;
    doc.setHtml(readPage(pagePath(QString::fromLatin1(HelpTopics::kContentsPage))));
    // Nested lists become levels of the tree; a list's indent is its depth.
    QList<QTreeWidgetItem*> parents;
    for (auto block = doc.begin(); block != doc.end(); block = block.next()) {
        const QTextList* list = block.textList();
        const QString href = hrefInBlock(block);
        if (!list || href.isEmpty())
            continue;
        const int depth = std::max(0, list->format().indent() - 1);
        while (parents.size() > depth)
            parents.removeLast();
        auto* item = parents.isEmpty() ? new QTreeWidgetItem(m_contents)
                                       : new QTreeWidgetItem(parents.back());
        item->setText(0, block.text().simplified());
        item->setData(0, kLocationRole, toVariant(locationOfHref(href)));
        while (parents.size() < depth)
            parents.push_back(item);
        parents.push_back(item);
    }
    m_contents->expandAll();
}

void HelpWindow::fillIndex(const QString& filter)
{
    m_indexList->clear();
    for (const auto& entry : m_index) {
        if (!filter.isEmpty() && !entry.term.contains(filter, Qt::CaseInsensitive))
            continue;
        auto* item = new QListWidgetItem(entry.term, m_indexList);
        item->setData(kLocationRole, toVariant(entry.location));
    }
}

QList<HelpLocation> HelpWindow::search(const QString& query) const
{
    const QStringList words = query.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.isEmpty())
        return {};
    QList<QPair<qsizetype, HelpLocation>> hits;
    for (const auto& page : m_pages) {
        if (page.file == QLatin1String(HelpTopics::kContentsPage))
            continue;
        qsizetype count = 0;
        bool all = true;
        for (const auto& w : words) {
            const qsizetype n = page.text.count(w, Qt::CaseInsensitive);
            all = all && n > 0;
            count += n;
        }
        if (all)
            hits.push_back({count, {page.file, {}}});
    }
    std::stable_sort(hits.begin(), hits.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    QList<HelpLocation> result;
    for (const auto& h : hits)
        result.push_back(h.second);
    return result;
}

void HelpWindow::runSearch()
{
    m_searchResults->clear();
    const auto found = search(m_searchText->text());
    for (const auto& location : found) {
        QString title = location.page;
        for (const auto& p : m_pages)
            if (p.file == location.page)
                title = p.title;
        auto* item = new QListWidgetItem(title, m_searchResults);
        item->setData(kLocationRole, toVariant(location));
    }
    if (found.isEmpty())
        new QListWidgetItem(QStringLiteral("No topics found"), m_searchResults);
}

QStringList HelpWindow::anchorsOf(const QString& file) const
{
    QTextDocument doc;
    doc.setHtml(readPage(pagePath(file)));
    QStringList names;
    for (auto block = doc.begin(); block != doc.end(); block = block.next())
        names << anchorsInBlock(block);
    return names;
}

bool HelpWindow::showLocation(const HelpLocation& location)
{
    if (!hasPage(location.page))
        return false;
    QUrl url = QUrl::fromLocalFile(pagePath(location.page));
    if (!location.anchor.isEmpty())
        url.setFragment(location.anchor);
    m_browser->setSource(url);
    return true;
}

bool HelpWindow::showTopic(const QString& topic)
{
    const auto location = HelpTopics::resolve(topic);
    if (location && showLocation(*location))
        return true;
    showLocation({QString::fromLatin1(HelpTopics::kHomePage), {}});
    return false;
}

void HelpWindow::showTab(Tab tab)
{
    m_tabs->setCurrentIndex(static_cast<int>(tab));
    if (tab == Tab::Index)
        m_indexFilter->setFocus();
    else if (tab == Tab::Search)
        m_searchText->setFocus();
}

HelpLocation HelpWindow::currentLocation() const
{
    const QUrl source = m_browser->source();
    return {source.fileName(), source.fragment()};
}

} // namespace toneloft
