// varnel_com9 and varnel_com4: the set-up utility of the Vindle Module. The
// two programs differ only in VINDLE_PORT_NUMBER, the serial port they open.

#include "EmbeddedEmulator.h"
#include "qt/DesktopProgram.h"
#include "qt/MessageBox.h"
#include "qt/ProgramCommandLine.h"
#include "qt/core/PortOpenFailure.h"
#include "qt/core/QtSerialPort.h"

#include <QApplication>
#include <QSerialPortInfo>
#include <cstdio>
#include <memory>
#include <string_view>

#ifndef VINDLE_PORT_NUMBER
#error "VINDLE_PORT_NUMBER names the serial port of the program"
#endif

namespace {

void nameTheApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral(VINDLE_PROGRAM_NAME));
    QCoreApplication::setApplicationVersion(QStringLiteral(VINDLE_VERSION));
}

// --help and --version print text only and work without a display.
bool asksForTextOnly(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument(argv[i]);
        if (argument == "--help" || argument == "-h" || argument == "-?" ||
            argument == "--help-all" || argument == "--version" || argument == "-v")
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    if (asksForTextOnly(argc, argv)) {
        const QCoreApplication application(argc, argv);
        nameTheApplication();
        vindle::ProgramCommandLine::parse(QCoreApplication::arguments(),
                                          vindle::deviceNameForPortNumber(VINDLE_PORT_NUMBER));
        return 0;
    }

    QApplication application(argc, argv);
    nameTheApplication();
    QApplication::setApplicationDisplayName(QStringLiteral("Vindle Setup"));
    QApplication::setDesktopFileName(QStringLiteral("vindle-setup"));

    const vindle::ProgramCommandLine commandLine = vindle::ProgramCommandLine::parse(
        QApplication::arguments(), vindle::deviceNameForPortNumber(VINDLE_PORT_NUMBER));

    std::unique_ptr<vindle::EmbeddedEmulator> emulator;
    QString device = commandLine.port.value_or(vindle::deviceNameForPortNumber(VINDLE_PORT_NUMBER));
    if (commandLine.emulate) {
        try {
            emulator = std::make_unique<vindle::EmbeddedEmulator>();
        } catch (const std::exception& error) {
            std::fprintf(stderr, "Cannot start the emulated module: %s\n", error.what());
            return 1;
        }
        device = emulator->devicePath();
    }

    vindle::QtSerialPort port;
    if (!port.open(device)) {
        const QString text = vindle::portOpenFailureText(device, port.errorText(), port.error(),
                                                         QSerialPortInfo::availablePorts());
        std::fprintf(stderr, "%s\n", qPrintable(text));
        vindle::MessageBox::information(nullptr, QApplication::applicationDisplayName(), text);
        return 1;
    }

    vindle::DesktopProgram program(port);
    return program.run();
}
