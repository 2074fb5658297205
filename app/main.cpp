// varnel_com9 and varnel_com4: the set-up utility of the Vindle Module. The
// two programs differ only in VINDLE_PORT_NUMBER, the serial port they open.

#include "qt/DesktopProgram.h"
#include "qt/MessageBox.h"
#include "qt/ProgramCommandLine.h"
#include "qt/ProgramIdentity.h"
#include "qt/core/PortOpenFailure.h"
#include "qt/core/QtSerialPort.h"

#include <QApplication>
#include <QSerialPortInfo>
#include <cstdio>
#include <memory>
#include <string_view>

#ifdef VINDLE_EMBEDDED_EMULATOR
#include "EmbeddedEmulator.h"
#endif

#ifndef VINDLE_PORT_NUMBER
#error "VINDLE_PORT_NUMBER names the serial port of the program"
#endif

namespace {

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
        vindle::ProgramIdentity::nameApplication(QStringLiteral(VINDLE_PROGRAM_NAME),
                                                 QStringLiteral(VINDLE_VERSION));
        vindle::ProgramCommandLine::parse(QCoreApplication::arguments(),
                                          vindle::deviceNameForPortNumber(VINDLE_PORT_NUMBER));
        return 0;
    }

    QApplication application(argc, argv);
    vindle::ProgramIdentity::nameApplication(QStringLiteral(VINDLE_PROGRAM_NAME),
                                             QStringLiteral(VINDLE_VERSION));
    QApplication::setWindowIcon(vindle::ProgramIdentity::icon());

    const vindle::ProgramCommandLine commandLine = vindle::ProgramCommandLine::parse(
        QApplication::arguments(), vindle::deviceNameForPortNumber(VINDLE_PORT_NUMBER));

    QString device = commandLine.port.value_or(vindle::deviceNameForPortNumber(VINDLE_PORT_NUMBER));
#ifdef VINDLE_EMBEDDED_EMULATOR
    std::unique_ptr<vindle::EmbeddedEmulator> emulator;
    if (commandLine.emulate) {
        try {
            emulator = std::make_unique<vindle::EmbeddedEmulator>();
        } catch (const std::exception& error) {
            std::fprintf(stderr, "Cannot start the emulated module: %s\n", error.what());
            return 1;
        }
        device = emulator->devicePath();
    }
#else
    if (commandLine.emulate) {
        std::fprintf(stderr, "Cannot start the emulated module: it needs a pseudo-terminal, "
                             "which this system does not have.\n");
        return 1;
    }
#endif

    vindle::QtSerialPort port;
    if (!port.open(device)) {
        const QString text = vindle::portOpenFailureText(device, port.errorText(), port.error(),
                                                         QSerialPortInfo::availablePorts());
        std::fprintf(stderr, "%s\n", qPrintable(text));
        vindle::MessageBox::information(nullptr, vindle::ProgramIdentity::title(), text);
        return 1;
    }

    vindle::DesktopProgram program(port);
    return program.run();
}
