#pragma once

#include "link/SerialPort.h"

#include <QSerialPort>
#include <QString>

namespace vindle {

// The serial port on QSerialPort: 38400 bit/s, 8 data bits, no parity, 1 stop
// bit, no flow control, with buffers limited only by memory.
class QtSerialPort final : public SerialPort
{
public:
    static constexpr int kBitRate = 38400;

    QtSerialPort() = default;

    // Opens the named device (e.g. "COM9", "/dev/ttyUSB0"). On failure the
    // port stays closed and errorText() says why.
    bool open(const QString& deviceName);
    bool isOpen() const { return port_.isOpen(); }
    QString errorText() const { return port_.errorString(); }

    int bytesPending() const override;
    std::uint8_t takeByte() override;
    void writeByte(std::uint8_t byte) override;
    void setBitRate(int bitsPerSecond) override;

    QSerialPort& device() { return port_; }

private:
    QSerialPort port_;
};

// The device name of a numbered port on this platform: "COM9" on Windows,
// the matching ttyS device elsewhere (COM1 is /dev/ttyS0).
QString deviceNameForPortNumber(int number);

} // namespace vindle
