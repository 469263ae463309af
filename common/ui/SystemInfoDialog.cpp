#include "common/ui/SystemInfoDialog.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLocale>
#include <QScreen>
#include <QSysInfo>
#include <QTableWidget>
#include <QThread>
#include <QVBoxLayout>

namespace toneloft {

namespace {

// The value of "key: value" lines in a /proc file; empty when absent.
QString procValue(const QString& file, const QString& key)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    while (!f.atEnd()) {
        const QString line = QString::fromUtf8(f.readLine());
        const qsizetype colon = line.indexOf(QLatin1Char(':'));
        if (colon > 0 && line.left(colon).trimmed() == key)
            return line.mid(colon + 1).trimmed();
    }
    return {};
}

QString memoryText()
{
    // "MemTotal:  16314172 kB"
    const QString total = procValue(QStringLiteral("/proc/meminfo"), QStringLiteral("MemTotal"));
    bool ok = false;
    const qlonglong kb = total.section(QLatin1Char(' '), 0, 0).toLongLong(&ok);
    if (!ok)
        return QStringLiteral("unknown");
    return QLocale().formattedDataSize(kb * 1024);
}

} // namespace

QList<QPair<QString, QString>> SystemInfoDialog::collect()
{
    QList<QPair<QString, QString>> info;
    info.append({QStringLiteral("Operating system"), QSysInfo::prettyProductName()});
    info.append({QStringLiteral("Kernel"), QSysInfo::kernelType() + QLatin1Char(' ') +
                                               QSysInfo::kernelVersion()});
    info.append({QStringLiteral("Qt version"), QString::fromLatin1(qVersion())});
    QString cpu = procValue(QStringLiteral("/proc/cpuinfo"), QStringLiteral("model name"));
    if (cpu.isEmpty())
        cpu = QSysInfo::currentCpuArchitecture();
    info.append({QStringLiteral("Processor"), cpu});
    info.append({QStringLiteral("Processor cores"), QString::number(QThread::idealThreadCount())});
    info.append({QStringLiteral("Memory"), memoryText()});
    info.append({QStringLiteral("Display platform"), QGuiApplication::platformName()});
    const auto screens = QGuiApplication::screens();
    for (int i = 0; i < screens.size(); ++i) {
        const QScreen* s = screens[i];
        info.append({QStringLiteral("Screen %1").arg(i + 1),
                     QStringLiteral("%1 x %2").arg(s->size().width()).arg(s->size().height())});
    }
    return info;
}

SystemInfoDialog::SystemInfoDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("System Information"));
    const auto info = collect();
    auto* table = new QTableWidget(static_cast<int>(info.size()), 2, this);
    table->setHorizontalHeaderLabels({QStringLiteral("Item"), QStringLiteral("Value")});
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int row = 0; row < info.size(); ++row) {
        table->setItem(row, 0, new QTableWidgetItem(info[row].first));
        table->setItem(row, 1, new QTableWidgetItem(info[row].second));
    }
    table->resizeColumnToContents(0);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table);
    layout->addWidget(buttons);
    resize(560, 320);
}

} // namespace toneloft
