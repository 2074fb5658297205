#include "qt/core/PortOpenFailure.h"

#include "qt/core/QtSerialPort.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>
#include <QStringList>
#include <cerrno>
#include <optional>

namespace vindle {

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("PortOpenFailure", text);
}

#ifdef Q_OS_LINUX
// The lock file QSerialPort keeps while a program has the device open:
// "LCK..ttyUSB0" for /dev/ttyUSB0, in the first of these folders that holds
// it or else may be written to.
QString lockFileOf(const QString& device)
{
    QString name = systemLocationOf(device, PortNaming::Posix);
    // The port is locked under the device's own name.
    if (const QString canonical = QFileInfo(name).canonicalFilePath(); !canonical.isEmpty())
        name = canonical;
    if (name.startsWith(QLatin1String("/dev/")))
        name.remove(0, 5);
    const QString fileName =
        QStringLiteral("/LCK..") + name.replace(QLatin1Char('/'), QLatin1Char('_'));
    const QStringList folders = {QStringLiteral("/var/lock"),
                                 QStringLiteral("/etc/locks"),
                                 QStringLiteral("/var/spool/locks"),
                                 QStringLiteral("/var/spool/uucp"),
                                 QStringLiteral("/tmp"),
                                 QStringLiteral("/var/tmp"),
                                 QStringLiteral("/var/lock/lockdev"),
                                 QStringLiteral("/run/lock"),
                                 QStandardPaths::writableLocation(QStandardPaths::TempLocation)};
    for (const QString& folder : folders) {
        const QFileInfo info(folder);
        if (info.isReadable() && (QFileInfo::exists(folder + fileName) || info.isWritable()))
            return folder + fileName;
    }
    return {};
}

// Who holds the device, when another program does: the name and process the
// lock file gives, or only that someone does.
std::optional<QString> holderOf(const QString& device, const QString& reason)
{
    const QString lockFile = lockFileOf(device);
    if (!lockFile.isEmpty() && QFileInfo::exists(lockFile)) {
        qint64 process = 0;
        QString host;
        QString program;
        if (QLockFile(lockFile).getLockInfo(&process, &host, &program) && process > 0) {
            return program.isEmpty()
                       ? tr("it is in use by process %1").arg(process)
                       : tr("it is in use by %1 (process %2)").arg(program).arg(process);
        }
        return tr("it is in use by another program");
    }
    // Held open for itself alone by a program that keeps no lock file.
    if (reason == qt_error_string(EBUSY))
        return tr("it is in use by another program");
    return std::nullopt;
}
#endif

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
    const QString text = tr("Cannot open the serial port %1: %2.");
#ifdef Q_OS_LINUX
    // QSerialPort reports a device that another program holds as a
    // permission error, too.
    if (error == QSerialPort::PermissionError) {
        if (const std::optional<QString> holder = holderOf(device, reason))
            return text.arg(device, *holder);
        return text.arg(device, reason) + QLatin1Char('\n') +
               tr("Serial devices belong to the dialout group. Add yourself once with\n"
                  "    sudo usermod -aG dialout \"$USER\"\nand log in again.");
    }
#else
    Q_UNUSED(error);
#endif
    return text.arg(device, reason);
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
