#pragma once

#include "link/PortConnection.h"
#include "link/SerialPort.h"

#include <QSerialPort>
#include <QString>
#include <functional>

namespace vindle {

// The serial port on QSerialPort: 38400 bit/s, 8 data bits, no parity, 1 stop
// bit, no flow control, with buffers limited only by memory.
//
// A port that fails while open (adapter unplugged, read error) is closed at
// once, so that it no longer wakes the event loop, and the failure is
// reported once. From then on nothing is received and nothing is sent: to the
// program the module has fallen silent.
class QtSerialPort final : public SerialPort, public PortConnection
{
public:
    static constexpr int kBitRate = 38400;
    using FailureHandler = std::function<void(const QString& reason)>;
    // Asks the driver behind an open descriptor for low latency.
    using LatencySetter = std::function<void(int fd)>;

    // `lowLatency` is applied to every port opened (setLowLatency by default).
    explicit QtSerialPort(LatencySetter lowLatency = nullptr);

    // Opens the named device (e.g. "COM9", "/dev/ttyUSB0"). On failure the
    // port stays closed and errorText() says why.
    bool open(const QString& deviceName);
    bool isOpen() const override { return port_.isOpen(); }
    // Opens the device open() was last given again.
    bool reopen() override { return open(deviceName_); }
    QString errorText() const { return port_.errorString(); }
    QSerialPort::SerialPortError error() const { return port_.error(); }
    // The device as open() was given it.
    const QString& deviceName() const { return deviceName_; }
    // Gives the port back to the system. What was handed over for sending
    // before the close still goes out (waiting at most kCloseDrainTime).
    void close() override;
    static constexpr int kCloseDrainTime = 200; // ms

    // Called once when the open port fails, with the reason: the system's,
    // or that the device is gone.
    void onFailure(FailureHandler handler) { failure_ = std::move(handler); }
    bool hasFailed() const { return failed_; }

    int bytesPending() const override;
    // Also what the system still holds for the port.
    void discardPending() override;
    std::uint8_t takeByte() override;
    void writeByte(std::uint8_t byte) override;
    void setBitRate(int bitsPerSecond) override;

    QSerialPort& device() { return port_; }

private:
    void errorOccurred(QSerialPort::SerialPortError error);

    QSerialPort port_;
    QString deviceName_;
    FailureHandler failure_;
    LatencySetter lowLatency_;
    bool failed_ = false;
};

// How a platform names its serial ports.
enum class PortNaming
{
    Windows,
    Posix
};

constexpr PortNaming nativePortNaming()
{
#ifdef Q_OS_WIN
    return PortNaming::Windows;
#else
    return PortNaming::Posix;
#endif
}

// The device name of serial port COM<number>: "\\.\COM9" on Windows, a form
// that also reaches COM10 and above; elsewhere the matching ttyS device (COM1
// is /dev/ttyS0).
QString deviceNameForPortNumber(int number, PortNaming naming = nativePortNaming());

// The device a port name opens, as the system names it: on POSIX systems a
// bare name is looked for in /dev ("ttyUSB0" opens /dev/ttyUSB0); a path, and
// any name on Windows, is itself.
QString systemLocationOf(const QString& name, PortNaming naming = nativePortNaming());

} // namespace vindle
