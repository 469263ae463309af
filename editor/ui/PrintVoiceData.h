#pragma once

#include <QString>

#include <functional>

class QPrinter;
class QWidget;

namespace toneloft {

class Session;
class frmVoiceEditor;

// File > Print Voice Data: the editor's panels as the editor shows them, laid
// out one below the other to the page width, as many whole panels to a page as
// fit, on paper or into a PDF file through Qt's print dialog.
class PrintVoiceData {
public:
    // Asks for the printer; nothing happens without an editor or on Cancel.
    static void Print(Session& session, frmVoiceEditor* editor, QWidget* parent);
    // Draws the editor's pages on an open printer; false when the printer failed.
    static bool render(QPrinter& printer, frmVoiceEditor& editor);
    // Straight into a PDF file (A4); true when written.
    static bool printToPdf(frmVoiceEditor& editor, const QString& path);

    // Stands in for the print dialog (tests): sets up the printer and returns
    // false for Cancel. Null restores the real dialog.
    using DialogStandIn = std::function<bool(QPrinter& printer)>;
    static void setDialogStandIn(DialogStandIn standIn);
};

} // namespace toneloft
