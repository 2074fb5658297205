#include "qt/DesktopProgram.h"

#include <QApplication>
#include <QTimer>

namespace vindle {

DesktopProgram::DesktopProgram(QtSerialPort& port)
    : port_(port), journal_(port.deviceName()), program_(port, pump_, clock_, dialogs_),
      view_(program_, TwipScale::forFont(QApplication::font())),
      menu_(program_, view_.binder("Main")->widget())
{
    view_.binder("Main")->fitToScreen();
    program_.link().setJournal(&journal_);
    port_.onFailure([this](const QString& reason) { portFailed(reason); });
    program_.onEnded([this] { ended(); });
}

int DesktopProgram::run()
{
    program_.start();
    if (program_.hasEnded())
        return 0;
    return QApplication::exec();
}

void DesktopProgram::portFailed(const QString& reason)
{
    // Said from the event loop, not from inside the port's own notification.
    const std::string text =
        SetupProgram::portStoppedMessage(port_.deviceName().toStdString(), reason.toStdString());
    QTimer::singleShot(0, &view_.binder("Main")->widget(), [this, text] {
        if (!program_.hasEnded())
            dialogs_.showMessage(text);
    });
}

void DesktopProgram::ended()
{
    view_.hideAll();
    // A store cut short leaves the module taking bytes as values: the next
    // program to open the port must not find it so.
    program_.link().waitOutUnfinishedStore();
    port_.close();
    QApplication::exit(0);
}

} // namespace vindle
