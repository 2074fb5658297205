#include "qt/core/QtSerialPort.h"

#include "qt/core/LowLatency.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cerrno>

namespace vindle {

namespace {

// Why the open port failed. A device that goes away (a USB adapter pulled
// out, the other end of a pseudo-terminal closed) is a resource error, or
// leaves calls that fail with ENOTTY ("Inappropriate ioctl for device"),
// ENOENT, ENODEV, ENXIO or EIO: say what happened instead.
QString failureReason(QSerialPort::SerialPortError error, const QString& systemText)
{
    bool gone = error == QSerialPort::ResourceError;
    for (const int code : {ENOTTY, ENOENT, ENODEV, ENXIO, EIO})
        gone = gone || systemText == qt_error_string(code);
    if (gone)
        return QCoreApplication::translate("QtSerialPort", "the device is gone (unplugged?)");
    return systemText;
}

} // namespace

QtSerialPort::QtSerialPort(LatencySetter lowLatency)
    : lowLatency_(lowLatency ? std::move(lowLatency) : LatencySetter(setLowLatency))
{
    QObject::connect(&port_, &QSerialPort::errorOccurred, &port_,
                     [this](QSerialPort::SerialPortError error) { errorOccurred(error); });
}

void QtSerialPort::errorOccurred(QSerialPort::SerialPortError error)
{
    // Errors while opening are open()'s to report; a time-out is no failure.
    if (error == QSerialPort::NoError || error == QSerialPort::TimeoutError || !port_.isOpen() ||
        failed_)
        return;
    failed_ = true;
    const QString reason = failureReason(error, port_.errorString());
    port_.close();
    if (failure_)
        failure_(reason);
}

bool QtSerialPort::open(const QString& deviceName)
{
    failed_ = false;
    deviceName_ = deviceName;
    // The device itself, under whatever other name it was given (a
    // /dev/serial/by-id/ link): its lock is the one every other run takes.
    const QString device = QFileInfo(systemLocationOf(deviceName)).canonicalFilePath();
    port_.setPortName(device.isEmpty() ? deviceName : device);
    // 0 leaves the receive buffer unbounded: nothing the module sends is lost
    // while a handler runs.
    port_.setReadBufferSize(0);
    if (!port_.open(QIODevice::ReadWrite)) {
        return false;
    }
    const bool configured = port_.setBaudRate(kBitRate) && port_.setDataBits(QSerialPort::Data8) &&
                            port_.setParity(QSerialPort::NoParity) &&
                            port_.setStopBits(QSerialPort::OneStop) &&
                            port_.setFlowControl(QSerialPort::NoFlowControl);
    if (!configured) {
        port_.close();
        return false;
    }
#ifdef Q_OS_UNIX
    lowLatency_(static_cast<int>(port_.handle()));
#endif
    return true;
}

void QtSerialPort::close()
{
    if (!port_.isOpen())
        return;
    if (!failed_ && port_.bytesToWrite() > 0)
        port_.waitForBytesWritten(kCloseDrainTime);
    port_.close();
}

int QtSerialPort::bytesPending() const
{
    return static_cast<int>(port_.bytesAvailable());
}

void QtSerialPort::discardPending()
{
    if (port_.isOpen())
        port_.clear(QSerialPort::Input);
}

std::uint8_t QtSerialPort::takeByte()
{
    char byte = 0;
    port_.getChar(&byte);
    return static_cast<std::uint8_t>(byte);
}

void QtSerialPort::writeByte(std::uint8_t byte)
{
    if (!port_.isOpen())
        return;
    // Out at once, not when the event loop next gets round to it: the module
    // waits for this byte, and the loop may first have windows to draw.
    port_.putChar(static_cast<char>(byte));
    port_.flush();
}

void QtSerialPort::setBitRate(int bitsPerSecond)
{
    if (port_.isOpen())
        port_.setBaudRate(bitsPerSecond);
}

QString deviceNameForPortNumber(int number, PortNaming naming)
{
    if (naming == PortNaming::Windows)
        return QStringLiteral("\\\\.\\COM%1").arg(number);
    return QStringLiteral("/dev/ttyS%1").arg(number - 1);
}

QString systemLocationOf(const QString& name, PortNaming naming)
{
    if (naming == PortNaming::Windows || name.startsWith(QLatin1Char('/')) ||
        name.startsWith(QLatin1String("./")) || name.startsWith(QLatin1String("../")))
        return name;
    return QStringLiteral("/dev/") + name;
}

} // namespace vindle
