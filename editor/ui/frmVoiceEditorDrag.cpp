// Copying a group, an operator or a graph by holding the mouse on it and
// dropping it on an element of the same kind, here or in another editor.
#include "editor/ui/frmVoiceEditor.h"

#include "editor/EditorElementCopy.h"
#include "editor/VoiceEditorCore.h"
#include "editor/ui/ParameterGrid.h"
#include "voice/Session.h"
#include "voice/VoiceEditor.h"
#include "voice/VoiceList.h"
#include "voice/clsVoiceLists.h"

#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

namespace toneloft {

namespace {

// The two drag images: refused (a struck circle) and accepted (a page with a plus).
QPixmap dragIcon(bool accepted, qreal dpr)
{
    const int size = 24;
    QPixmap pixmap(QSize(size, size) * dpr);
    pixmap.setDevicePixelRatio(dpr);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    if (accepted) {
        p.setPen(QPen(QColor(30, 30, 30), 1.2));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(3.5, 2.5, 13, 16));
        p.setBrush(QColor(40, 140, 60));
        p.setPen(Qt::NoPen);
        p.drawEllipse(QRectF(11, 11, 12, 12));
        p.setPen(QPen(Qt::white, 2));
        p.drawLine(QPointF(17, 13.5), QPointF(17, 20.5));
        p.drawLine(QPointF(13.5, 17), QPointF(20.5, 17));
    } else {
        p.setPen(QPen(QColor(190, 30, 30), 2.5));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(4, 4, 16, 16));
        p.drawLine(QPointF(6.5, 17.5), QPointF(17.5, 6.5));
    }
    return pixmap;
}

} // namespace

void frmVoiceEditor::watchElement(QWidget* widget, ElementKind kind, int index)
{
    widget->setProperty("elementKind", static_cast<int>(kind));
    widget->setProperty("elementIndex", index);
    widget->setAcceptDrops(true);
    widget->installEventFilter(this);
}

QMimeData* frmVoiceEditor::elementMimeData(ElementKind kind, int index) const
{
    auto* mime = new QMimeData;
    const std::string listKey = m_editor->list ? m_editor->list->ID : std::string();
    const QString text = QStringLiteral("%1,%2,%3,%4")
                             .arg(static_cast<int>(kind))
                             .arg(index)
                             .arg(QString::fromStdString(listKey), QString::fromStdString(m_editor->key()));
    mime->setData(QString::fromLatin1(kMimeType), text.toLatin1());
    return mime;
}

std::optional<frmVoiceEditor::ElementRef> frmVoiceEditor::elementOf(const QMimeData* mime) const
{
    if (!mime || !mime->hasFormat(QString::fromLatin1(kMimeType)))
        return std::nullopt;
    const QList<QByteArray> parts = mime->data(QString::fromLatin1(kMimeType)).split(',');
    if (parts.size() != 4)
        return std::nullopt;
    bool kindOk = false;
    bool indexOk = false;
    const int kind = parts[0].toInt(&kindOk);
    const int index = parts[1].toInt(&indexOk);
    if (!kindOk || !indexOk || kind < 0 || kind > 2)
        return std::nullopt;
    return ElementRef{static_cast<ElementKind>(kind), index, parts[2].toStdString(), parts[3].toStdString()};
}

namespace {

EditorElement::Kind coreKind(frmVoiceEditor::ElementKind kind)
{
    switch (kind) {
    case frmVoiceEditor::ElementKind::Label: return EditorElement::Kind::Label;
    case frmVoiceEditor::ElementKind::Grid: return EditorElement::Kind::Grid;
    case frmVoiceEditor::ElementKind::Graph: return EditorElement::Kind::Graph;
    }
    return EditorElement::Kind::Grid;
}

EditorElement sourceElement(const frmVoiceEditor::ElementRef& ref)
{
    return EditorElement{coreKind(ref.kind), ref.index, ref.listKey, ref.editorKey};
}

} // namespace

bool frmVoiceEditor::acceptsElement(const QMimeData* mime, ElementKind kind, int index) const
{
    const auto source = elementOf(mime);
    return source && GetSourceTargetID(sourceElement(*source), m_core->element(coreKind(kind), index)).accepted;
}

bool frmVoiceEditor::dropElement(const QMimeData* mime, ElementKind kind, int index)
{
    const auto source = elementOf(mime);
    if (!source || !acceptsElement(mime, kind, index))
        return false;
    const bool copied = m_core->CopyVoiceElementData(sourceElement(*source), m_core->element(coreKind(kind), index));
    if (copied && kind == ElementKind::Grid) {
        // The target grid takes the focus, on the cell it had.
        ParameterGrid* grid = dGrid1(index);
        if (!grid->currentIndex().isValid() && grid->model())
            grid->setCurrentIndex(grid->model()->index(0, 1));
        grid->setFocus();
    }
    notifyEditCommandsChanged();
    return copied;
}

// A press becomes a copy drag when the button is still down after the wait.
void frmVoiceEditor::beginHold(QWidget* widget)
{
    m_pressed = widget;
    QPointer<QWidget> pressed(widget);
    QTimer::singleShot(kDragHoldMs, this, [this, pressed] {
        if (pressed && m_pressed == pressed) { // not released meanwhile
            m_pressed = nullptr;
            startElementDrag(pressed);
        }
    });
}

void frmVoiceEditor::startElementDrag(QWidget* widget)
{
    const auto kind = static_cast<ElementKind>(widget->property("elementKind").toInt());
    const int index = widget->property("elementIndex").toInt();
    QMimeData* mime = elementMimeData(kind, index);
    if (m_dragStarter) {
        m_dragStarter(mime);
        delete mime;
        return;
    }
    auto* drag = new QDrag(widget);
    drag->setMimeData(mime);
    // The element itself, faded, travels with the pointer.
    QWidget* shown = kind == ElementKind::Grid ? widget->parentWidget() : widget;
    const QPixmap image = shown->grab();
    if (!image.isNull()) {
        QPixmap faded(image.size());
        faded.setDevicePixelRatio(image.devicePixelRatio());
        faded.fill(Qt::transparent);
        QPainter p(&faded);
        p.setOpacity(0.6);
        p.drawPixmap(0, 0, image);
        p.end();
        drag->setPixmap(faded);
        drag->setHotSpot(QPoint(8, 8));
    }
    const qreal dpr = widget->devicePixelRatioF();
    drag->setDragCursor(dragIcon(false, dpr), Qt::IgnoreAction);
    drag->setDragCursor(dragIcon(true, dpr), Qt::CopyAction);
    drag->exec(Qt::CopyAction);
}

bool frmVoiceEditor::elementEvent(QWidget* widget, QEvent* event)
{
    const auto kind = static_cast<ElementKind>(widget->property("elementKind").toInt());
    const int index = widget->property("elementIndex").toInt();
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton) {
            if (!mouse->modifiers().testFlag(Qt::ControlModifier))
                audition();
            return false;
        }
        if (mouse->button() != Qt::LeftButton)
            return false;
        // Graphs report a press off their points themselves (a press on a
        // point drags the point).
        if (kind != ElementKind::Graph)
            beginHold(widget);
        return false;
    }
    case QEvent::MouseButtonRelease:
        m_pressed = nullptr;
        return false;
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (!drag->mimeData()->hasFormat(QString::fromLatin1(kMimeType)))
            return false;
        if (acceptsElement(drag->mimeData(), kind, index)) {
            drag->setDropAction(Qt::CopyAction);
            drag->accept();
        } else {
            drag->setDropAction(Qt::IgnoreAction);
            // Entered but refused: the drag goes on showing the refusing image.
            if (event->type() == QEvent::DragEnter)
                drag->accept();
            else
                drag->ignore();
        }
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        if (!drop->mimeData()->hasFormat(QString::fromLatin1(kMimeType)))
            return false;
        if (dropElement(drop->mimeData(), kind, index)) {
            drop->setDropAction(Qt::CopyAction);
            drop->accept();
        } else {
            drop->ignore();
        }
        return true;
    }
    default:
        return false;
    }
}

bool frmVoiceEditor::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Control)
            setCtrl(true);
    } else if (event->type() == QEvent::KeyRelease) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Control || !key->modifiers().testFlag(Qt::ControlModifier))
            setCtrl(false);
    }
    if (watched == m_clientWidget && event->type() == QEvent::MouseButtonPress) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton && !mouse->modifiers().testFlag(Qt::ControlModifier))
            audition();
        return false;
    }
    if (auto* widget = qobject_cast<QWidget*>(watched); widget && widget->property("elementKind").isValid())
        return elementEvent(widget, event);
    return QWidget::eventFilter(watched, event);
}

void frmVoiceEditor::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton && !event->modifiers().testFlag(Qt::ControlModifier))
        audition();
    QWidget::mousePressEvent(event);
}

} // namespace toneloft
