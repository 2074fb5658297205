#include "qt/ProgramCommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>

namespace vindle {

ProgramCommandLine ProgramCommandLine::parse(const QStringList& arguments,
                                             const QString& defaultPort)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QCoreApplication::translate("ProgramCommandLine",
                                    "Reads, edits and stores the configuration of a Vindle "
                                    "Module on serial port %1.\nWhen that port does not open, "
                                    "a window shows the serial ports present to choose from.")
            .arg(defaultPort));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption port(
        QStringLiteral("port"),
        QCoreApplication::translate("ProgramCommandLine",
                                    "Open serial device <device> instead of %1, e.g. /dev/ttyUSB0.")
            .arg(defaultPort),
        QStringLiteral("device"));
    const QCommandLineOption emulate(
        QStringLiteral("emulate"),
        QCoreApplication::translate("ProgramCommandLine",
                                    "Try the program without a module: start an emulated module "
                                    "on a pseudo-terminal and open that."));
    parser.addOption(port);
    parser.addOption(emulate);
    parser.process(arguments);

    ProgramCommandLine commandLine;
    if (parser.isSet(port))
        commandLine.port = parser.value(port);
    commandLine.emulate = parser.isSet(emulate);
    if (commandLine.port && commandLine.emulate) {
        std::fprintf(stderr, "%s\n",
                     qPrintable(QCoreApplication::translate(
                         "ProgramCommandLine", "--port and --emulate exclude each other.")));
        std::exit(2);
    }
    return commandLine;
}

} // namespace vindle
