#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace vindle {

// What the command line of varnel_com9 and varnel_com4 asks for.
struct ProgramCommandLine
{
    // The serial device to open instead of the program's own port.
    std::optional<QString> port;
    // Start the module emulator inside the program and talk to it.
    bool emulate = false;

    // Reads the application's arguments. --help and --version print their
    // text and end the program; a wrong argument prints why and ends it with
    // a non-zero status.
    static ProgramCommandLine parse(const QStringList& arguments, const QString& defaultPort);
};

} // namespace vindle
