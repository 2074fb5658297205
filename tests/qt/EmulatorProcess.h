#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

namespace vindle::test {

// A vindle-emulator program running beside the test, serving its module on a
// pseudo-terminal.
class EmulatorProcess
{
public:
    explicit EmulatorProcess(const QStringList& arguments = {})
    {
        process_.start(QStringLiteral(VINDLE_EMULATOR_PROGRAM), arguments);
        if (process_.waitForStarted(5000) && process_.waitForReadyRead(5000)) {
            devicePath_ = QString::fromLocal8Bit(process_.readLine()).trimmed();
        }
    }
    ~EmulatorProcess()
    {
        process_.terminate();
        if (!process_.waitForFinished(2000)) {
            process_.kill();
            process_.waitForFinished(2000);
        }
    }
    EmulatorProcess(const EmulatorProcess&) = delete;
    EmulatorProcess& operator=(const EmulatorProcess&) = delete;

    const QString& devicePath() const { return devicePath_; }

private:
    QProcess process_;
    QString devicePath_;
};

} // namespace vindle::test
