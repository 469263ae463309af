#pragma once

#include <QString>

#include <functional>
#include <string>

class QPrinter;
class QWidget;

namespace toneloft {

class Session;
class VoiceList;

// The voice-list printout: the print dialog, then the names of the chosen banks
// in the layout of VoiceListPrintLayout, on paper or into a PDF file.
class PrintVoiceNames {
public:
    // File > Print Voice List on the active list (null: the "No voice list
    // selected" message). Asks for printer, copies and bank range.
    static void Print(Session& session, VoiceList* list, QWidget* parent);
    // The same pages in Qt's print preview.
    static void Preview(Session& session, VoiceList* list, QWidget* parent);

    // Draws banks firstBank..lastBank, copies times, on an open printer. False
    // when the printer failed (the caller reports it).
    static bool render(QPrinter& printer, VoiceList& list, long firstBank, long lastBank, int copies,
                       const std::string& dateTime);
    // Straight into a PDF file; true when written.
    static bool printToPdf(VoiceList& list, const QString& path, long firstBank, long lastBank,
                           const std::string& dateTime);

    // The heading's font: Arial 16, or the closest the system has.
    static QString headingFamily();

    // Stands in for the print dialog (tests): sets up the printer and returns
    // false for Cancel. Null restores the real dialog.
    using DialogStandIn = std::function<bool(QPrinter& printer, long banks)>;
    static void setDialogStandIn(DialogStandIn standIn);
};

} // namespace toneloft
