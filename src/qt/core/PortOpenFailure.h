#pragma once

#include <QList>
#include <QSerialPort>
#include <QSerialPortInfo>
#include <QString>

namespace vindle {

// A serial port as a person recognises it: the device and what the system
// knows of it, e.g. "/dev/ttyUSB0 — FT232R USB UART (FTDI), serial A50285BI,
// USB 0403:6001".
QString portDescription(const QSerialPortInfo& info);

// "Serial ports on this computer:" and one line for each, or that it shows
// none.
QString presentPortsText(const QList<QSerialPortInfo>& present);

// Why the device did not open: the system's reason and, for a permission
// error on Linux, the group that grants access.
QString portOpenReason(const QString& device, const QString& reason,
                       QSerialPort::SerialPortError error);

// What a terminal user reads when the serial port cannot be opened: the
// reason, the serial ports this computer has and how to choose one.
QString portOpenFailureText(const QString& device, const QString& reason,
                            QSerialPort::SerialPortError error,
                            const QList<QSerialPortInfo>& present);

} // namespace vindle
