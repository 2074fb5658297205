#include "qt/core/PortOpenFailure.h"

#include <QCoreApplication>
#include <QStringList>

namespace vindle {

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("PortOpenFailure", text);
}

} // namespace

QString portDescription(const QSerialPortInfo& info)
{
    QStringList known;
    QString name = info.description();
    if (!info.manufacturer().isEmpty())
        name += (name.isEmpty() ? QString() : QStringLiteral(" ")) +
                QStringLiteral("(%1)").arg(info.manufacturer());
    if (!name.isEmpty())
        known.append(name);
    if (!info.serialNumber().isEmpty())
        known.append(tr("serial %1").arg(info.serialNumber()));
    if (info.hasVendorIdentifier() && info.hasProductIdentifier())
        known.append(QStringLiteral("USB %1:%2")
                         .arg(info.vendorIdentifier(), 4, 16, QLatin1Char('0'))
                         .arg(info.productIdentifier(), 4, 16, QLatin1Char('0')));
    if (known.isEmpty())
        return info.systemLocation();
    return info.systemLocation() + QStringLiteral(" \u2014 ") + known.join(QStringLiteral(", "));
}

QString presentPortsText(const QList<QSerialPortInfo>& present)
{
    if (present.isEmpty())
        return tr("This computer shows no serial ports.");
    QString text = tr("Serial ports on this computer:");
    for (const QSerialPortInfo& info : present)
        text += QStringLiteral("\n    ") + portDescription(info);
    return text;
}

QString portOpenReason(const QString& device, const QString& reason,
                       QSerialPort::SerialPortError error)
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
    return text;
}

QString portOpenFailureText(const QString& device, const QString& reason,
                            QSerialPort::SerialPortError error,
                            const QList<QSerialPortInfo>& present)
{
    return portOpenReason(device, reason, error) + QStringLiteral("\n\n") +
           presentPortsText(present) + QStringLiteral("\n\n") +
           tr("Choose another with --port DEVICE, for example --port /dev/ttyUSB0, or try the "
              "program without a module with --emulate.");
}

} // namespace vindle
