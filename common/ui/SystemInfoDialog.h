#pragma once

#include <QDialog>
#include <QList>
#include <QPair>
#include <QString>

namespace toneloft {

// Facts about the computer, for a report of a problem: system, Qt, processor,
// memory and screens. Select all and copy to paste them into a message.
class SystemInfoDialog : public QDialog {
    Q_OBJECT

public:
    explicit SystemInfoDialog(QWidget* parent = nullptr);

    // Label and value, in the order shown.
    static QList<QPair<QString, QString>> collect();
};

} // namespace toneloft
