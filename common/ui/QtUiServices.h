#pragma once

#include "common/UiServices.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>

namespace toneloft {

class StatusStrip;
class frmFileFormatDialog;

// The desktop program's side of the seam: Qt message boxes, file and input
// dialogs, the save format dialog, the main window's status strip, the wait
// cursor and the event loop. Dialogs are modal to the main window.
class QtUiServices : public UiServices {
public:
    explicit QtUiServices(QWidget* mainWindow = nullptr);
    ~QtUiServices() override;
    QtUiServices(const QtUiServices&) = delete;
    QtUiServices& operator=(const QtUiServices&) = delete;

    void setMainWindow(QWidget* mainWindow);
    void setStatusStrip(StatusStrip* strip);
    void setHelpHandler(std::function<void(const std::string&)> handler);

    MsgResult msgBox(const std::string& text, const std::string& title, MsgIcon icon,
                     MsgButtons buttons) override;
    MsgResult msgBoxWithHelp(const std::string& text, const std::string& title, MsgIcon icon,
                             MsgButtons buttons, const std::string& helpTopic) override;
    std::optional<std::string> inputBox(const std::string& prompt, const std::string& title,
                                        const std::string& defaultText) override;
    FileDialogResult fileDialog(const FileDialogRequest& request) override;
    std::optional<int> chooseSaveFormat(int currentType) override;
    void openHelp(const std::string& topic) override;

    void setStatus(const std::string& text, bool areaVisible, bool repaintMain) override;
    void setBusy(bool busy) override;

    void setCancellable(bool on) override;
    bool cancelRequested() override;
    // What the Cancel button and Escape do while work is cancellable.
    void requestCancel() { m_cancelPressed = true; }

    void processEvents() override;
    void waitForEvents(std::int64_t maxMs) override;
    bool post(std::function<void()> call) override;
    std::int64_t clock() override;

    int busyDepth() const { return m_busyDepth; }
    // Created on first use and kept, as the one save format dialog of the program.
    frmFileFormatDialog& formatDialog();

    // The core writes CR LF between lines; Qt wants LF.
    static QString toDisplayText(const std::string& text);
    // A core filter as a Qt name filter: "DX voice (*.dat,...) (*.dat *.syx ...)".
    static QString toNameFilter(const FileFilter& filter);
    // Splits full paths from a dialog into the folder (with its trailing separator)
    // and the names within it.
    static FileDialogResult splitSelection(const QStringList& paths);

private:
    QPointer<QWidget> m_mainWindow;
    QPointer<StatusStrip> m_strip;
    QPointer<frmFileFormatDialog> m_formatDialog;
    std::function<void(const std::string&)> m_helpHandler;
    QElapsedTimer m_clock;
    int m_busyDepth = 0;
    QElapsedTimer m_lastStripPaint; // status texts come faster than a screen shows them
    std::unique_ptr<QObject> m_escapeWatcher; // while cancellable
    QMetaObject::Connection m_cancelConnection;
    bool m_cancelPressed = false;
    bool m_mainShownAtStart = false; // the main window closing cancels too
};

} // namespace toneloft
