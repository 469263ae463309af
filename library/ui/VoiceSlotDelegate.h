#pragma once

#include "library/SlotNumbers.h"

#include <QStyledItemDelegate>

namespace toneloft {

// Draws a voice list item as its slot number, dimmed, then the name. The
// item's text stays the name alone; the number is worked out from the cell
// (row + 16 x column + 1).
class VoiceSlotDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    static constexpr int kRows = 16;
    // Characters the number takes, its gap included ("B16 ").
    static constexpr int kSlotChars = 4;

    explicit VoiceSlotDelegate(QObject* parent = nullptr) : QStyledItemDelegate(parent) {}

    SlotNumbering numbering() const { return m_numbering; }
    void setNumbering(SlotNumbering numbering) { m_numbering = numbering; }
    // Width of the number in a font.
    static int slotWidth(const QFont& font);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    SlotNumbering m_numbering = SlotNumbering::Numbers;
};

} // namespace toneloft
