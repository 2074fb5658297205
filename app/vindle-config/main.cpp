// vindle-config: the set-up utility of the Vindle Module on the command line,
// for scripts and for provisioning many modules. It needs no display.

#include "ConfigCommandLine.h"
#include "ConfigTool.h"
#include "InterruptSignal.h"

#include <QCoreApplication>
#include <variant>

int main(int argc, char** argv)
{
    using namespace vindle::cli;
    // Before anything else: a Ctrl+C from now on is never lost.
    InterruptSignal::catchEarly();
    auto parsed = parseConfigCommandLine(argc, argv);
    if (const auto* exit = std::get_if<CommandLineExit>(&parsed))
        return exit->status;

    const QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vindle-config"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VINDLE_VERSION));
    ConfigTool tool(std::get<ConfigRequest>(std::move(parsed)));
    return tool.run();
}
