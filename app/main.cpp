// varnel_com9 and varnel_com4: the set-up utility of the Vindle Module. The
// two programs differ only in VINDLE_PORT_NUMBER, the serial port they open.

#include "qt/DesktopStart.h"
#include "qt/ProgramCommandLine.h"
#include "qt/ProgramIdentity.h"
#include "qt/core/QtSerialPort.h"

#include <QApplication>
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

    const QString ownPort = vindle::deviceNameForPortNumber(VINDLE_PORT_NUMBER);
    const vindle::ProgramCommandLine commandLine =
        vindle::ProgramCommandLine::parse(QApplication::arguments(), ownPort);
    vindle::DesktopStart start{
        commandLine.port.value_or(ownPort), commandLine.port.has_value(), {}};
#ifdef VINDLE_EMBEDDED_EMULATOR
    // One emulated module at most, living as long as the program.
    std::unique_ptr<vindle::EmbeddedEmulator> emulator;
    start.startEmulator = [&emulator] {
        if (!emulator)
            emulator = std::make_unique<vindle::EmbeddedEmulator>();
        return emulator->devicePath();
    };
    if (commandLine.emulate) {
        try {
            start.device = start.startEmulator();
            start.namedOnCommandLine = true;
        } catch (const std::exception& error) {
            std::fprintf(stderr, "Cannot start the emulated module: %s\n", error.what());
            return 1;
        }
    }
#else
    if (commandLine.emulate) {
        std::fprintf(stderr, "Cannot start the emulated module: it needs a pseudo-terminal, "
                             "which this system does not have.\n");
        return 1;
    }
#endif
    return vindle::runDesktop(start);
}
