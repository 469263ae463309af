#include "editor/ui/EgZoomBox.h"

#include "editor/modEGGraph.h"
#include "editor/ui/EnvelopeGraph.h"

#include <cmath>

namespace toneloft {

EgZoomBox::EgZoomBox(QWidget* parent) : QSpinBox(parent)
{
    setRange(kMinimumExponent, kMaximumExponent);
    setValue(EnvelopeGraph::kDefaultZoomExponent);
    setAccelerated(false);
    setToolTip(tr("EG Zoom"));
    setAccessibleName(tr("EG Zoom"));
}

QString EgZoomBox::textFromValue(int value) const
{
    return QString::number(modEGGraph::ZoomFactor(value) / 16, 'g', 6);
}

int EgZoomBox::valueFromText(const QString& text) const
{
    bool ok = false;
    const double factor = text.trimmed().toDouble(&ok);
    if (!ok || factor <= 0)
        return value();
    return static_cast<int>(std::lround(std::log2(factor * 16)));
}

QValidator::State EgZoomBox::validate(QString& text, int&) const
{
    // Only the factors the steps reach are accepted when typed.
    for (int v = minimum(); v <= maximum(); ++v)
        if (text.trimmed() == textFromValue(v))
            return QValidator::Acceptable;
    return QValidator::Intermediate;
}

} // namespace toneloft
