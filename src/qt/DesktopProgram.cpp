#include "qt/DesktopProgram.h"

#include <QApplication>

namespace vindle {

DesktopProgram::DesktopProgram(QtSerialPort& port, Dialogs* dialogs)
    : port_(port), journal_(port.deviceName()), dialogs_(dialogs ? *dialogs : boxes_),
      program_(port, pump_, clock_, dialogs_),
      view_(program_, TwipScale::forFont(QApplication::font())),
      menu_(program_, view_.binder("Main")->widget(), dialogs_),
      monitorFiles_(dialogs_, [this](MonitorFileDialogs::Purpose purpose) {
          WindowBinder* const monitor = view_.binder("RS232Packets");
          return MonitorFileDialogs::askForFile(monitor != nullptr ? &monitor->widget() : nullptr,
                                                purpose);
      })
{
    program_.setMonitorFiles(monitorFiles_);
    view_.binder("Main")->fitToScreen();
    program_.link().setJournal(&journal_);
    port_.onFailure([this](const QString& reason) { portFailed(reason); });
    program_.onEnded([this] { ended(); });
}

int DesktopProgram::run()
{
    program_.start();
    const int status = program_.hasEnded() ? 0 : QApplication::exec();
    // Said once the run is over, not from inside the port's own notification.
    if (const auto& stop = program_.portStop()) {
        dialogs_.showMessage(SetupProgram::portStoppedMessage(*stop));
        return 1;
    }
    return status;
}

void DesktopProgram::portFailed(const QString& reason)
{
    program_.portStopped(port_.deviceName().toStdString(), reason.toStdString());
}

void DesktopProgram::ended()
{
    view_.hideAll();
    // A store cut short leaves the module taking bytes as values: the next
    // program to open the port must not find it so.
    program_.link().waitOutUnfinishedStore();
    port_.close();
    QApplication::exit(program_.portStop() ? 1 : 0);
}

} // namespace vindle
