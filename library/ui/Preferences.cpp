#include "library/ui/Preferences.h"

#include <QSettings>

namespace toneloft {

Preferences::KeyScheme Preferences::keyScheme()
{
    return QSettings().value(QLatin1String(kKeySchemeKey)).toString() == QLatin1String("standard")
               ? KeyScheme::Standard
               : KeyScheme::Classic;
}

void Preferences::setKeyScheme(KeyScheme scheme)
{
    QSettings().setValue(QLatin1String(kKeySchemeKey),
                         scheme == KeyScheme::Standard ? QStringLiteral("standard") : QStringLiteral("classic"));
}

Preferences::SlotNumbering Preferences::slotNumbering()
{
    return QSettings().value(QLatin1String(kSlotNumberingKey)).toString() == QLatin1String("A/B")
               ? SlotNumbering::Halves
               : SlotNumbering::Numbers;
}

void Preferences::setSlotNumbering(SlotNumbering numbering)
{
    QSettings().setValue(QLatin1String(kSlotNumberingKey),
                         numbering == SlotNumbering::Halves ? QStringLiteral("A/B") : QStringLiteral("1-32"));
}

bool Preferences::tabbedView()
{
    return QSettings().value(QLatin1String(kTabbedKey), false).toBool();
}

void Preferences::setTabbedView(bool tabbed)
{
    QSettings().setValue(QLatin1String(kTabbedKey), tabbed);
}

} // namespace toneloft
