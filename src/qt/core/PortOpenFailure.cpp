#include "qt/core/PortOpenFailure.h"

#include <QCoreApplication>

namespace vindle {

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("PortOpenFailure", text);
}

} // namespace

QString presentPortsText(const QList<QSerialPortInfo>& present)
{
    if (present.isEmpty())
        return tr("This computer shows no serial ports.");
    QString text = tr("Serial ports on this computer:");
    for (const QSerialPortInfo& info : present) {
        text += QStringLiteral("\n    ") + info.systemLocation();
        if (!info.description().isEmpty())
            text += QStringLiteral("  (") + info.description() + QLatin1Char(')');
    }
    return text;
}

QString portOpenFailureText(const QString& device, const QString& reason,
                            QSerialPort::SerialPortError error,
                            const QList<QSerialPortInfo>& present)
{
    QString text = tr("Cannot open the serial port %1: %2.").arg(device, reason);
#ifdef Q_OS_LINUX
    if (error == QSerialPort::PermissionError) {
        text += QLatin1Char('\n') +
                tr("Serial devices belong to the dialout group. Add yourself once with\n"
                   "    sudo usermod -aG dialout \"$USER\"\nand log in again.");
    }
#else
    Q_UNUSED(error);
#endif
    text += QStringLiteral("\n\n") + presentPortsText(present) + QStringLiteral("\n\n") +
            tr("Choose another with --port DEVICE, for example --port /dev/ttyUSB0, or try the "
               "program without a module with --emulate.");
    return text;
}

} // namespace vindle
