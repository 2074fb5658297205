#pragma once

#include <QList>
#include <QSerialPort>
#include <QSerialPortInfo>
#include <QString>

namespace vindle {

// What the user reads when the serial port cannot be opened: the device and
// the system's reason, the serial ports this computer has, how to choose one,
// and, for a permission error on Linux, the group that grants access.
// "Serial ports on this computer:" and one line for each, or that it shows
// none.
QString presentPortsText(const QList<QSerialPortInfo>& present);

QString portOpenFailureText(const QString& device, const QString& reason,
                            QSerialPort::SerialPortError error,
                            const QList<QSerialPortInfo>& present);

} // namespace vindle
