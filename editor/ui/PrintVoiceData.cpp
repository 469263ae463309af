#include "editor/ui/PrintVoiceData.h"

#include "common/UiServices.h"
#include "editor/ui/frmVoiceEditor.h"
#include "voice/Session.h"
#include "voice/VoiceEditor.h"
#include "voice/VoiceList.h"

#include <QFrame>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

#include <algorithm>
#include <vector>

namespace toneloft {

namespace {

PrintVoiceData::DialogStandIn& standIn()
{
    static PrintVoiceData::DialogStandIn s;
    return s;
}

// The panels are printed at this width (logical pixels), narrower than most
// screens so that text stays legible when scaled to the page.
constexpr int kPrintWidth = 1000;

} // namespace

void PrintVoiceData::setDialogStandIn(DialogStandIn s)
{
    standIn() = std::move(s);
}

bool PrintVoiceData::render(QPrinter& printer, frmVoiceEditor& editor)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    editor.arrangeForPrint(kPrintWidth);
    QWidget* area = editor.printArea();
    // Painter coordinates start at the printable area's corner.
    const QRectF page(QPointF(0, 0), printer.pageLayout().paintRectPixels(printer.resolution()).size());
    const double scale = page.width() / std::max(1, area->width());

    // Heading: the voice and the list it belongs to.
    QFont heading(QStringLiteral("Arial"), 14);
    heading.setBold(true);
    painter.setFont(heading);
    const QString list = editor.editor().list ? QString::fromStdString(editor.editor().list->FileTitle) : QString();
    const QString title = editor.windowTitle().trimmed() +
                          (list.isEmpty() ? QString() : QStringLiteral("   (%1, voice %2)").arg(list).arg(
                                                                editor.editor().voicePosition()));
    const double headingHeight = painter.fontMetrics().height() * 1.6;
    painter.drawText(QRectF(page.left(), page.top(), page.width(), headingHeight), Qt::AlignLeft | Qt::AlignVCenter,
                     title);

    // Whole panels, top to bottom; a panel that does not fit goes to the next page.
    std::vector<QRect> panels;
    for (int i = 0; i < 7; ++i)
        if (QFrame* panel = editor.Frame3(i); panel && panel->isVisible())
            panels.push_back(panel->geometry().adjusted(-2, -2, 2, 2));
    double y = headingHeight;
    bool ok = true;
    for (const QRect& source : panels) {
        const double height = source.height() * scale;
        if (y + height > page.height() && y > headingHeight) {
            if (!printer.newPage()) {
                ok = false;
                break;
            }
            y = 0;
        }
        painter.save();
        painter.translate(page.left(), page.top() + y);
        painter.scale(scale, scale);
        painter.translate(-source.left(), -source.top());
        area->render(&painter, source.topLeft(), QRegion(source), QWidget::DrawChildren);
        painter.restore();
        y += height + 6 * scale;
    }
    editor.restoreFromPrint();
    return painter.end() && ok;
}

bool PrintVoiceData::printToPdf(frmVoiceEditor& editor, const QString& path)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setPageSize(QPageSize(QPageSize::A4));
    return render(printer, editor);
}

void PrintVoiceData::Print(Session& session, frmVoiceEditor* editor, QWidget* parent)
{
    if (!editor)
        return;
    QPrinter printer(QPrinter::HighResolution);
    bool chosen = false;
    if (standIn()) {
        chosen = standIn()(printer);
    } else {
        QPrintDialog dialog(&printer, parent);
        dialog.setWindowTitle(QStringLiteral("Print Voice Data"));
        dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
        chosen = dialog.exec() == QDialog::Accepted;
    }
    if (!chosen)
        return;
    UiServices& ui = session.ui();
    BusyPointer busy(ui);
    if (!render(printer, *editor))
        ui.MsgBox("An error occured whilst printing", "Couldn't transfer voice list to printer");
}

} // namespace toneloft
