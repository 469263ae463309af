#pragma once

#include "midi/VxcConversion.h"

#include <memory>

class QProcess;

namespace toneloft {

// Runs the converter through QProcess. Only the process this object started is
// ever stopped; it is released after every run.
class QtConverterProcess : public ConverterProcess {
public:
    QtConverterProcess();
    ~QtConverterProcess() override;

    bool start(const std::string& program, const std::string& workingDirectory) override;
    void stopAndRelease() override;

private:
    std::unique_ptr<QProcess> m_process;
};

} // namespace toneloft
