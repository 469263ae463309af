#pragma once

#include <QObject>
#include <QString>

#include <map>
#include <set>

class QWidget;

namespace toneloft {

// Keeps the program's windows on the screen: every window and dialogue that
// opens is shrunk and moved, if need be, to lie inside the available area of
// its screen (a 1280x800 screen at twice the scale leaves 640x400). Windows
// registered by object name also get their position and size back from the
// last run (QSettings "windows/<key>/geometry"), and keep them when they close.
class WindowPlacement : public QObject {
    Q_OBJECT

public:
    explicit WindowPlacement(QObject* parent = nullptr);
    ~WindowPlacement() override;

    void remember(const QString& objectName, const QString& key);

    static void fitIntoScreen(QWidget* window);
    static QString settingsKey(const QString& key);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void shown(QWidget* window);
    void hidden(QWidget* window);

    std::map<QString, QString> m_keys; // object name -> settings key
    std::set<QString> m_restored;      // once a run, when first shown
};

} // namespace toneloft
