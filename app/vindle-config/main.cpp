// vindle-config: the set-up utility of the Vindle Module on the command line,
// for scripts and for provisioning many modules. It needs no display.

#include "ConfigCommandLine.h"
#include "ConfigTool.h"
#include "InterruptSignal.h"
#include "StandardOutput.h"
#include "program/ExitStatus.h"

#include <QCoreApplication>
#include <csignal>
#include <cstdio>
#include <variant>

namespace {

// Before anything else, even before main: no port takes the number of a
// closed stdout, and a Ctrl+C from now on is never lost. A file size limit
// makes a write fail (EFBIG) instead of ending the program, so that a line
// cut short is taken back.
[[maybe_unused]] const bool kSetUpEarly = [] {
    vindle::cli::standard_output::holdClosedDescriptors();
    vindle::cli::InterruptSignal::catchEarly();
    std::signal(SIGXFSZ, SIG_IGN);
    return true;
}();

} // namespace

int main(int argc, char** argv)
{
    using namespace vindle::cli;
    auto parsed = parseConfigCommandLine(argc, argv);
    if (const auto* exit = std::get_if<CommandLineExit>(&parsed)) {
        if (const std::optional<std::string> lost = standard_output::finish()) {
            std::fprintf(stderr, "vindle-config: the output could not be written: %s.\n",
                         lost->c_str());
            return exit->status == 0 ? toInt(vindle::ExitStatus::Usage) : exit->status;
        }
        return exit->status;
    }

    const QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vindle-config"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VINDLE_VERSION));
    ConfigTool tool(std::get<ConfigRequest>(std::move(parsed)));
    return tool.run();
}
