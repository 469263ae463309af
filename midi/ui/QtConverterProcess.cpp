#include "midi/ui/QtConverterProcess.h"

#include <QProcess>

namespace toneloft {

QtConverterProcess::QtConverterProcess() = default;

QtConverterProcess::~QtConverterProcess()
{
    stopAndRelease();
}

bool QtConverterProcess::start(const std::string& program, const std::string& workingDirectory)
{
    stopAndRelease();
    m_process = std::make_unique<QProcess>();
    m_process->setProgram(QString::fromStdString(program));
    m_process->setWorkingDirectory(QString::fromStdString(workingDirectory));
    // The converter talks through its files only.
    m_process->setStandardInputFile(QProcess::nullDevice());
    m_process->setStandardOutputFile(QProcess::nullDevice());
    m_process->setStandardErrorFile(QProcess::nullDevice());
    m_process->start();
    if (!m_process->waitForStarted(2000)) {
        m_process.reset();
        return false;
    }
    return true;
}

void QtConverterProcess::stopAndRelease()
{
    if (!m_process)
        return;
    if (m_process->state() != QProcess::NotRunning) {
        m_process->kill();
        m_process->waitForFinished(2000);
    }
    m_process.reset();
}

} // namespace toneloft
