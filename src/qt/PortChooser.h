#pragma once

#include "qt/core/QtSerialPort.h"

#include <QDialog>
#include <QTimer>
#include <functional>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace vindle {

// Starts the built-in emulated module and gives the device it serves; throws
// std::exception with the reason when it cannot.
using EmulatorStarter = std::function<QString()>;

// The window a person sees when the program's own port does not open: the
// reason, the serial ports present (following the hardware as adapters come
// and go), a field for a device the system does not list, and Open, Try
// without a module and Quit. A port that fails to open from here shows its
// reason in the same window, and the person chooses again.
class PortChooser final : public QDialog
{
    Q_OBJECT

public:
    // How often the list of ports is looked at again.
    static constexpr int kPollInterval = 500; // ms

    // `port` is opened on the chosen device; `failed` is the device that did
    // not open, and `startEmulator` may be empty where there is none.
    PortChooser(QtSerialPort& port, const QString& failed, EmulatorStarter startEmulator,
                QWidget* parent = nullptr);

    // Shows the window until a port is open (true) or the person quits (false).
    bool choose();

private:
    void refreshPorts();
    void openDevice(const QString& device);
    void openTyped();
    void tryWithoutModule();
    void showReason(const QString& device);

    QtSerialPort& port_;
    EmulatorStarter startEmulator_;
    QStringList shownPorts_;
    QTimer poll_;
    QLabel* reason_;
    QLabel* listCaption_;
    QListWidget* list_;
    QLineEdit* device_;
    QPushButton* open_;
};

} // namespace vindle
