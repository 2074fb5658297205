// vindle_bench: every benchmark of the utility in one program (Google
// Benchmark). Besides Google Benchmark's own options it takes
//   --stream-seconds=N  how long the data monitor takes the 115200 bit/s stream
//                       (default 30; the documented figure uses 600)
//   --capture-seconds=N how long the data monitor captures that stream, with its
//                       times shown (default 60)
//   --idle-seconds=N    how long the data monitor waits without data (default 10)

#include "support/BenchOptions.h"
#include "support/MachineDescription.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace {

// Takes this program's own options out of the command line.
void takeOwnOptions(int& argc, char** argv)
{
    vindle::bench::BenchOptions& options = vindle::bench::BenchOptions::current();
    const std::vector<std::pair<std::string_view, double*>> known{
        {"--stream-seconds=", &options.streamSeconds},
        {"--capture-seconds=", &options.captureSeconds},
        {"--idle-seconds=", &options.idleSeconds},
    };
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument(argv[i]);
        bool taken = false;
        for (const auto& [prefix, value] : known) {
            if (argument.starts_with(prefix)) {
                *value = std::stod(std::string(argument.substr(prefix.size())));
                taken = true;
            }
        }
        if (!taken)
            argv[kept++] = argv[i];
    }
    argc = kept;
}

// Qt's offscreen platform says for every window that it cannot raise it; the
// figures are easier to read without that.
QtMessageHandler standardHandler = nullptr;

void quietOffscreenNotes(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (text.startsWith(QLatin1String("This plugin does not support")))
        return;
    if (standardHandler != nullptr)
        standardHandler(type, context, text);
    else
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, text)));
}

} // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    takeOwnOptions(argc, argv);
    standardHandler = qInstallMessageHandler(quietOffscreenNotes);
    QApplication application(argc, argv);

    const auto machine = vindle::bench::MachineDescription::ofThisMachine();
    benchmark::AddCustomContext("cpu_model", machine.cpuModel);
    benchmark::AddCustomContext("cores", std::to_string(machine.cores));
    benchmark::AddCustomContext("load_average_at_start",
                                std::to_string(vindle::bench::MachineDescription::loadAverage()));
    benchmark::AddCustomContext("qt_platform", qgetenv("QT_QPA_PLATFORM").toStdString());

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
