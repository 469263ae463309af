#include "library/ui/VoiceSlotDelegate.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>

namespace toneloft {

int VoiceSlotDelegate::slotWidth(const QFont& font)
{
    return QFontMetrics(font).horizontalAdvance(QLatin1Char('0')) * kSlotChars;
}

void VoiceSlotDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    if (!index.data(Qt::DisplayRole).isValid()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    const long position = index.row() + kRows * index.column() + 1;
    const int width = slotWidth(option.font);
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    if (selected)
        painter->fillRect(option.rect, option.palette.brush(QPalette::Highlight));

    const std::string label = slotLabel(position, m_numbering);
    QRect number = option.rect;
    number.setWidth(width - QFontMetrics(option.font).horizontalAdvance(QLatin1Char(' ')));
    painter->save();
    painter->setFont(option.font);
    QColor colour = option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
    colour.setAlphaF(0.55f);
    painter->setPen(colour);
    painter->drawText(number, Qt::AlignRight | Qt::AlignVCenter, QString::fromLatin1(label.c_str()));
    painter->restore();

    QStyleOptionViewItem rest(option);
    rest.rect.setLeft(option.rect.left() + width);
    QStyledItemDelegate::paint(painter, rest, index);
}

} // namespace toneloft
