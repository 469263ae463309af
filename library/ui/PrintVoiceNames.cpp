#include "library/ui/PrintVoiceNames.h"

#include "common/Banks.h"
#include "common/NumberText.h"
#include "voice/Session.h"
#include "library/VoiceListPrintLayout.h"
#include "voice/VoiceList.h"
#include "voice/clsVoiceNames.h"

#include <QFontInfo>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include <ctime>

namespace toneloft {

namespace {

using Layout = VoiceListPrintLayout;

PrintVoiceNames::DialogStandIn& standIn()
{
    static PrintVoiceNames::DialogStandIn s;
    return s;
}

std::vector<std::string> namesOf(VoiceList& list)
{
    std::vector<std::string> names;
    auto rows = list.rsmfimage().clone();
    const int field = rows->fieldIndex(clsVoiceNames::kNames);
    for (rows->moveFirst(); !rows->eof(); rows->moveNext())
        names.push_back(rows->text(field));
    return names;
}

std::string now()
{
    return FormatDateTime(static_cast<long long>(std::time(nullptr)));
}

QString latin1(const std::string& text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// Lines of a page: the heading, then per block "Voice Set", "BANK A/B" and 16
// rows, with a blank line between blocks.
constexpr int kLinesPerBlock = 2 + Layout::kRowsPerBlock + 1;
constexpr int kBodyLines = Layout::kBlocksPerPage * kLinesPerBlock;
// Tab columns run from 18 ("BANK A" of the first set) to 144 plus a column width.
constexpr int kFirstColumn = Layout::kColumnWidth;
constexpr int kColumnsAcross = Layout::kColumnWidth * 2 * Layout::kSetsPerBlock;

void drawPage(QPainter& p, const QRectF& area, const Layout::Page& page, const std::string& heading)
{
    QFont headFont(PrintVoiceNames::headingFamily(), 16);
    p.setFont(headFont);
    const qreal headHeight = p.fontMetrics().height() * 1.5;
    const QRectF headRect(area.left(), area.top(), area.width(), headHeight);
    p.drawText(headRect, static_cast<int>((Qt::AlignLeft | Qt::AlignVCenter).toInt()), latin1(heading));
    p.drawText(headRect, static_cast<int>((Qt::AlignRight | Qt::AlignVCenter).toInt()),
               latin1(Layout::pageText(page.number, page.total)));

    const qreal lineHeight = (area.height() - headHeight) / kBodyLines;
    const qreal unit = area.width() / kColumnsAcross;
    QFont body(PrintVoiceNames::headingFamily());
    body.setPixelSize(std::max(1, static_cast<int>(lineHeight * 0.75)));
    QFont bold = body;
    bold.setBold(true);
    const auto x = [&](int column) { return area.left() + (column - kFirstColumn) * unit; };
    const auto cell = [&](int column, qreal top, const std::string& text, Qt::Alignment align = Qt::AlignLeft) {
        const qreal left = align == Qt::AlignHCenter ? x(column) - unit * Layout::kColumnWidth / 2 : x(column);
        p.drawText(QRectF(left, top, unit * Layout::kColumnWidth, lineHeight), static_cast<int>((align | Qt::AlignVCenter).toInt()),
                   latin1(text));
    };

    qreal top = area.top() + headHeight;
    for (const auto& block : page.blocks) {
        p.setFont(bold);
        for (std::size_t s = 0; s < block.sets.size(); ++s) {
            const int k = static_cast<int>(s) + 1;
            cell(Layout::setColumn(k), top, "Voice Set" + Str(block.sets[s].number), Qt::AlignHCenter);
            cell(Layout::bankAColumn(k), top + lineHeight, "BANK A");
            cell(Layout::bankBColumn(k), top + lineHeight, "BANK B");
        }
        p.setFont(body);
        for (int r = 0; r < Layout::kRowsPerBlock; ++r) {
            const qreal y = top + (2 + r) * lineHeight;
            for (std::size_t s = 0; s < block.sets.size(); ++s) {
                const int k = static_cast<int>(s) + 1;
                cell(Layout::bankAColumn(k), y, block.sets[s].bankA[static_cast<std::size_t>(r)]);
                cell(Layout::bankBColumn(k), y, block.sets[s].bankB[static_cast<std::size_t>(r)]);
            }
        }
        top += kLinesPerBlock * lineHeight;
    }
}

void reportFailure(Session& session)
{
    session.ui().MsgBox("An error occured whilst printing", "Couldn't transfer voice list to printer");
}

} // namespace

QString PrintVoiceNames::headingFamily()
{
    return QFontInfo(QFont(QStringLiteral("Arial"), 16)).family();
}

void PrintVoiceNames::setDialogStandIn(DialogStandIn s)
{
    standIn() = std::move(s);
}

bool PrintVoiceNames::render(QPrinter& printer, VoiceList& list, long firstBank, long lastBank, int copies,
                             const std::string& dateTime)
{
    const auto pages = Layout::layout(namesOf(list), firstBank, lastBank);
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const QRectF area = printer.pageLayout().paintRectPixels(printer.resolution()).translated(
        -printer.pageLayout().paintRectPixels(printer.resolution()).topLeft());
    const std::string heading = Layout::heading(list.FileTitle, dateTime);
    bool first = true;
    for (int copy = 0; copy < std::max(1, copies); ++copy) {
        for (const auto& page : pages) {
            if (!first && !printer.newPage()) {
                painter.end();
                return false;
            }
            first = false;
            drawPage(painter, area, page, heading);
        }
    }
    return painter.end();
}

bool PrintVoiceNames::printToPdf(VoiceList& list, const QString& path, long firstBank, long lastBank,
                                 const std::string& dateTime)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setPageSize(QPageSize(QPageSize::A4));
    return render(printer, list, firstBank, lastBank, 1, dateTime);
}

void PrintVoiceNames::Print(Session& session, VoiceList* list, QWidget* parent)
{
    UiServices& ui = session.ui();
    if (!list) {
        ui.MsgBox("Please select a voice list to print ", "No voice list selected");
        return;
    }
    const long banks = BankCount(list->voiceCount());
    QPrinter printer(QPrinter::HighResolution);
    // Page numbers in the dialog are banks; the range starts as every bank.
    printer.setFromTo(1, static_cast<int>(banks));
    bool chosen = false;
    if (standIn()) {
        chosen = standIn()(printer, banks);
    } else {
        QPrintDialog dialog(&printer, parent);
        dialog.setWindowTitle(QStringLiteral("Print Voices"));
        dialog.setMinMax(1, static_cast<int>(banks));
        dialog.setOptions(QAbstractPrintDialog::PrintPageRange | QAbstractPrintDialog::PrintToFile |
                          QAbstractPrintDialog::PrintShowPageSize);
        chosen = dialog.exec() == QDialog::Accepted;
    }
    if (!chosen)
        return;
    long first = 1;
    long last = banks;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = printer.fromPage();
        last = std::max<long>(first, printer.toPage());
    }
    const int copies = printer.copyCount();
    printer.setCopyCount(1); // the copies are drawn here, one after the other
    BusyPointer busy(ui);
    ShowStatus(ui, " Please wait - Printing Voice List");
    const bool ok = render(printer, *list, first, last, copies, now());
    ShowStatus(ui, "", 0, 0);
    if (!ok)
        reportFailure(session);
}

void PrintVoiceNames::Preview(Session& session, VoiceList* list, QWidget* parent)
{
    if (!list) {
        session.ui().MsgBox("Please select a voice list to print ", "No voice list selected");
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    QPrintPreviewDialog preview(&printer, parent);
    preview.setWindowTitle(QStringLiteral("Print Voices"));
    const long banks = BankCount(list->voiceCount());
    const std::string at = now();
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [&](QPrinter* p) { render(*p, *list, 1, banks, 1, at); });
    preview.exec();
}

} // namespace toneloft
