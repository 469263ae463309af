#include "common/ui/QtUiServices.h"

#include "common/ui/StatusStrip.h"
#include "common/ui/frmFileFormatDialog.h"

#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <QDir>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QInputDialog>
#include <QKeySequence>
#include <QMessageBox>
#include <QPushButton>
#include <QKeyEvent>
#include <QShortcut>
#include <QToolButton>

namespace toneloft {

namespace {

QMessageBox::Icon toQtIcon(MsgIcon icon)
{
    switch (icon) {
    case MsgIcon::Critical: return QMessageBox::Critical;
    case MsgIcon::Question: return QMessageBox::Question;
    case MsgIcon::Exclamation: return QMessageBox::Warning;
    case MsgIcon::Information: return QMessageBox::Information;
    case MsgIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

// The buttons in their order on the box; the first is the default.
QList<QMessageBox::StandardButton> toQtButtons(MsgButtons buttons)
{
    switch (buttons) {
    case MsgButtons::OK: return {QMessageBox::Ok};
    case MsgButtons::OKCancel: return {QMessageBox::Ok, QMessageBox::Cancel};
    case MsgButtons::YesNo: return {QMessageBox::Yes, QMessageBox::No};
    case MsgButtons::YesNoCancel: return {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel};
    case MsgButtons::RetryCancel: return {QMessageBox::Retry, QMessageBox::Cancel};
    case MsgButtons::AbortRetryIgnore:
        return {QMessageBox::Abort, QMessageBox::Retry, QMessageBox::Ignore};
    }
    return {QMessageBox::Ok};
}

MsgResult fromQtButton(QMessageBox::StandardButton button, MsgButtons offered)
{
    switch (button) {
    case QMessageBox::Ok: return MsgResult::OK;
    case QMessageBox::Cancel: return MsgResult::Cancel;
    case QMessageBox::Yes: return MsgResult::Yes;
    case QMessageBox::No: return MsgResult::No;
    case QMessageBox::Retry: return MsgResult::Retry;
    case QMessageBox::Abort: return MsgResult::Abort;
    case QMessageBox::Ignore: return MsgResult::Ignore;
    default: break;
    }
    // Closed without a button: the answer a Cancel or the title bar's close gives.
    switch (offered) {
    case MsgButtons::OK: return MsgResult::OK;
    case MsgButtons::YesNo: return MsgResult::No;
    case MsgButtons::AbortRetryIgnore: return MsgResult::Abort;
    default: return MsgResult::Cancel;
    }
}

QString toQt(const std::string& s)
{
    return QString::fromStdString(s);
}

} // namespace

namespace {

// Escape anywhere in the program, while stoppable work runs.
class EscapeWatcher : public QObject {
public:
    explicit EscapeWatcher(QtUiServices& ui) : m_ui(ui) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            m_ui.requestCancel();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QtUiServices& m_ui;
};

} // namespace

void QtUiServices::setCancellable(bool on)
{
    m_cancelPressed = false;
    if (on) {
        m_mainShownAtStart = m_mainWindow && m_mainWindow->isVisible();
        if (!m_escapeWatcher && QCoreApplication::instance()) {
            m_escapeWatcher = std::make_unique<EscapeWatcher>(*this);
            QCoreApplication::instance()->installEventFilter(m_escapeWatcher.get());
        }
        if (m_strip) {
            QObject::disconnect(m_cancelConnection);
            m_cancelConnection = QObject::connect(m_strip->cancelButton(), &QToolButton::clicked,
                                                  m_strip->cancelButton(), [this] { requestCancel(); });
            m_strip->cancelButton()->show();
        }
        return;
    }
    m_escapeWatcher.reset(); // removes the filter
    QObject::disconnect(m_cancelConnection);
    if (m_strip)
        m_strip->cancelButton()->hide();
}

bool QtUiServices::cancelRequested()
{
    const bool closing = m_mainShownAtStart && (!m_mainWindow || !m_mainWindow->isVisible());
    return m_cancelPressed || closing || QCoreApplication::closingDown();
}

QtUiServices::QtUiServices(QWidget* mainWindow) : m_mainWindow(mainWindow)
{
    m_clock.start();
}

QtUiServices::~QtUiServices()
{
    while (m_busyDepth > 0)
        setBusy(false);
    delete m_formatDialog.data();
}

void QtUiServices::setMainWindow(QWidget* mainWindow)
{
    m_mainWindow = mainWindow;
}

void QtUiServices::setStatusStrip(StatusStrip* strip)
{
    m_strip = strip;
}

void QtUiServices::setHelpHandler(std::function<void(const std::string&)> handler)
{
    m_helpHandler = std::move(handler);
}

QString QtUiServices::toDisplayText(const std::string& text)
{
    QString s = toQt(text);
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return s;
}

QString QtUiServices::toNameFilter(const FileFilter& filter)
{
    QString patterns = toQt(filter.patterns);
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    return toQt(filter.description) + QStringLiteral(" (") + patterns.simplified() +
           QLatin1Char(')');
}

FileDialogResult QtUiServices::splitSelection(const QStringList& paths)
{
    FileDialogResult result;
    if (paths.isEmpty())
        return result;
    result.cancelled = false;
    const QString folder = QDir::toNativeSeparators(QFileInfo(paths.front()).absolutePath());
    result.folder = folder.toStdString();
    if (result.folder.empty() || result.folder.back() != QDir::separator().toLatin1())
        result.folder += QDir::separator().toLatin1();
    for (const QString& path : paths)
        result.files.push_back(QFileInfo(path).fileName().toStdString());
    return result;
}

MsgResult QtUiServices::msgBox(const std::string& text, const std::string& title, MsgIcon icon,
                               MsgButtons buttons)
{
    QMessageBox box(toQtIcon(icon), toDisplayText(title), toDisplayText(text),
                    QMessageBox::NoButton, m_mainWindow);
    box.setTextFormat(Qt::PlainText);
    const auto offered = toQtButtons(buttons);
    for (auto b : offered)
        box.addButton(b);
    box.setDefaultButton(offered.front());
    box.exec();
    const auto pressed = box.standardButton(box.clickedButton());
    return fromQtButton(pressed, buttons);
}

MsgResult QtUiServices::msgBoxWithHelp(const std::string& text, const std::string& title,
                                       MsgIcon icon, MsgButtons buttons,
                                       const std::string& helpTopic)
{
    QMessageBox box(toQtIcon(icon), toDisplayText(title), toDisplayText(text),
                    QMessageBox::NoButton, m_mainWindow);
    box.setTextFormat(Qt::PlainText);
    // Window-modal, so that the help it opens can be read while it waits.
    box.setWindowModality(Qt::WindowModal);
    const auto offered = toQtButtons(buttons);
    for (auto b : offered)
        box.addButton(b);
    QAbstractButton* help = box.addButton(QMessageBox::Help);
    box.setDefaultButton(offered.front());
    // A message box closes on any button; Help shows it again at once.
    for (;;) {
        box.exec();
        if (box.clickedButton() != help)
            break;
        openHelp(helpTopic);
    }
    return fromQtButton(box.standardButton(box.clickedButton()), buttons);
}

std::optional<std::string> QtUiServices::inputBox(const std::string& prompt,
                                                  const std::string& title,
                                                  const std::string& defaultText)
{
    QInputDialog dialog(m_mainWindow);
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setWindowTitle(toDisplayText(title));
    dialog.setLabelText(toDisplayText(prompt));
    dialog.setTextValue(toQt(defaultText));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue().toStdString();
}

FileDialogResult QtUiServices::fileDialog(const FileDialogRequest& request)
{
    const bool saving = request.mode == FileDialogRequest::Mode::Save;
    QFileDialog dialog(m_mainWindow, toQt(request.title));
    if (!request.helpTopic.empty())
        dialog.setOption(QFileDialog::DontUseNativeDialog, true); // for its Help button
    dialog.setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    if (saving)
        dialog.setFileMode(QFileDialog::AnyFile);
    else
        dialog.setFileMode(request.multiSelect ? QFileDialog::ExistingFiles
                                               : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    dialog.setSizeGripEnabled(true);

    QStringList filters;
    for (const auto& f : request.filters)
        filters << toNameFilter(f);
    if (!filters.isEmpty())
        dialog.setNameFilters(filters);
    if (!request.defaultExtension.empty())
        dialog.setDefaultSuffix(toQt(request.defaultExtension));
    if (!request.initialDirectory.empty())
        dialog.setDirectory(toQt(request.initialDirectory));
    if (!request.initialFile.empty()) {
        const QFileInfo initial(toQt(request.initialFile));
        if (initial.isAbsolute())
            dialog.setDirectory(initial.absolutePath());
        dialog.selectFile(initial.fileName());
    }
    if (!request.helpTopic.empty()) {
        auto* help = new QShortcut(QKeySequence::HelpContents, &dialog);
        const std::string topic = request.helpTopic;
        QObject::connect(help, &QShortcut::activated, &dialog, [this, topic] { openHelp(topic); });
        // A Help button too, in the dialogue's own button row (ours, not the desktop's).
        if (auto* row = dialog.findChild<QDialogButtonBox*>()) {
            row->addButton(QDialogButtonBox::Help);
            QObject::connect(row, &QDialogButtonBox::helpRequested, &dialog,
                             [this, topic] { openHelp(topic); });
        }
    }

    if (dialog.exec() != QDialog::Accepted)
        return {};
    return splitSelection(dialog.selectedFiles());
}

frmFileFormatDialog& QtUiServices::formatDialog()
{
    if (!m_formatDialog)
        m_formatDialog = new frmFileFormatDialog(m_mainWindow);
    return *m_formatDialog;
}

std::optional<int> QtUiServices::chooseSaveFormat(int currentType)
{
    auto& dialog = formatDialog();
    dialog.setFileType(currentType);
    dialog.exec();
    if (dialog.cancelled())
        return std::nullopt;
    return dialog.chosenType();
}

void QtUiServices::openHelp(const std::string& topic)
{
    if (m_helpHandler)
        m_helpHandler(topic);
}

void QtUiServices::setStatus(const std::string& text, bool areaVisible, bool repaintMain)
{
    if (!m_strip)
        return;
    m_strip->setText(toQt(text));
    m_strip->setVisible(areaVisible);
    // A thousand bank texts in a second: paint at once at most once a frame
    // and let the event loop catch up with the rest.
    constexpr qint64 kFrameMs = 16;
    if (areaVisible) {
        if (!m_lastStripPaint.isValid() || m_lastStripPaint.elapsed() >= kFrameMs) {
            m_strip->repaint();
            m_lastStripPaint.start();
        } else {
            m_strip->update();
        }
    }
    if (repaintMain && m_mainWindow)
        m_mainWindow->repaint();
}

void QtUiServices::setBusy(bool busy)
{
    if (busy) {
        ++m_busyDepth;
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (m_busyDepth > 0) {
        --m_busyDepth;
        QGuiApplication::restoreOverrideCursor();
    }
}

void QtUiServices::processEvents()
{
    QCoreApplication::processEvents();
}

void QtUiServices::waitForEvents(std::int64_t maxMs)
{
    if (maxMs <= 0) {
        QCoreApplication::processEvents();
        return;
    }
    // The timer's own event ends the wait when nothing else comes first.
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    timer.start(static_cast<int>(std::min<std::int64_t>(maxMs, 60000)));
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

bool QtUiServices::post(std::function<void()> call)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return false;
    QMetaObject::invokeMethod(app, std::move(call), Qt::QueuedConnection);
    return true;
}

std::int64_t QtUiServices::clock()
{
    return m_clock.elapsed();
}

} // namespace toneloft
