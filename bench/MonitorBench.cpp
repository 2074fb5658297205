// The data monitor: what it costs while nothing comes, what it costs under a
// continuous 115200 bit/s stream (and whether it keeps up and shows every
// byte), and whether its memory stays bounded once the display is full; and
// the same stream with time stamps shown and Capture to File… running, whose
// file must hold every byte written, in order.
//
// The program reaches the monitor the way it does with a silent module: the
// read gives up and hands over. The stream then comes from a writer on the
// master side of the pseudo-terminal, at the line's pace.

#include "qt/MonitorFileDialogs.h"
#include "support/BenchOptions.h"
#include "support/CpuMeter.h"
#include "support/MachineDescription.h"
#include "support/PacedWriter.h"
#include "support/PtyPair.h"
#include "support/RenderedRun.h"
#include "ui/monitor/MonitorText.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <fstream>
#include <functional>
#include <memory>
#include <unistd.h>

namespace {

using namespace vindle;
using namespace vindle::bench;

constexpr int kStreamBitRate = 115200;
constexpr int kStreamBaudOption = 7;

long residentBytes()
{
    std::ifstream statm("/proc/self/statm");
    long size = 0;
    long resident = 0;
    statm >> size >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

double megabytes(long bytes)
{
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

// Runs `monitoring` once the data monitor is on screen; the run ends when it
// calls the program's end().
void whileMonitoring(RenderedRun& run, std::function<void(MonitorWindow&)> monitoring)
{
    run.program().forEachWindow([&run, monitoring](Window& window) {
        if (window.name() != "RS232Packets")
            return;
        window.addListener([&run, monitoring](const Window& shown, Window::Change change) {
            if (change == Window::Change::Visible && shown.isVisible())
                QTimer::singleShot(0, [&run, monitoring] { monitoring(run.program().monitor()); });
        });
    });
    run.program().start();
}

void BM_MonitorIdle(benchmark::State& state)
{
    const double seconds = BenchOptions::current().idleSeconds;
    double percent = 0.0;
    for (auto _ : state) {
        PtyPair pty;
        RenderedRun run(pty.path());
        CpuMeter meter;
        whileMonitoring(run, [&](MonitorWindow&) {
            // The windows have settled once the hand-over is drawn.
            QTimer::singleShot(500, [&] {
                meter.restart();
                QTimer::singleShot(static_cast<int>(seconds * 1e3), [&] {
                    percent = meter.percentOfCore();
                    run.program().end();
                });
            });
        });
    }
    state.counters["idle_s"] = seconds;
    state.counters["cpu_percent"] = percent;
    state.counters["of_goal"] = percent / 1.0;
    state.counters["load1"] = MachineDescription::loadAverage();
}
BENCHMARK(BM_MonitorIdle)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);

// The line the monitor shows for the byte at `position` of the writer's
// stream, with header framing and keys expected.
std::string expectedLine(std::uint64_t position)
{
    const int value = PacedWriter::byteAt(position);
    const auto inPacket = static_cast<int>(position % PacedWriter::kPacketSize);
    const std::string marker = inPacket == 0   ? std::string(kHeaderMarker)
                               : inPacket <= 3 ? keyMarker(inPacket)
                                               : std::string();
    return Bin(value) + AddX(value) + marker;
}

// Every byte written was shown, and the newest lines are those of the newest bytes.
bool showsEveryByte(const LineDisplay& display, std::uint64_t written)
{
    if (display.linesAdded() != written)
        return false;
    std::uint64_t position = written;
    for (const std::string& line : display.lines()) {
        if (line != expectedLine(--position))
            return false;
    }
    return true;
}

void BM_MonitorStream115200(benchmark::State& state)
{
    const double seconds = BenchOptions::current().streamSeconds;
    for (auto _ : state) {
        PtyPair pty;
        RenderedRun run(pty.path());
        std::unique_ptr<PacedWriter> writer;
        CpuMeter meter;
        QTimer sampler;
        long rssAfterFirstTenth = 0;
        long rssPeak = 0;
        double percent = 0.0;
        bool everyByte = false;
        whileMonitoring(run, [&](MonitorWindow& monitor) {
            monitor.Baud().click(kStreamBaudOption);
            monitor.KeysCheck().setValue(CheckBox::kChecked);
            pty.drain();
            meter.restart();
            writer = std::make_unique<PacedWriter>(pty.master(), kStreamBitRate);
            QObject::connect(&sampler, &QTimer::timeout, [&] {
                rssPeak = std::max(rssPeak, residentBytes());
                if (rssAfterFirstTenth == 0 && meter.wallSeconds() >= seconds / 10)
                    rssAfterFirstTenth = residentBytes();
            });
            sampler.start(1000);
            QTimer::singleShot(static_cast<int>(seconds * 1e3), [&] {
                writer->stop();
                percent = meter.percentOfCore(writer->cpuSeconds());
                sampler.stop();
                // What is still on its way through the line is shown within a second.
                QTimer::singleShot(1000, [&] {
                    everyByte = showsEveryByte(monitor.Text1(), writer->written());
                    run.program().end();
                });
            });
        });
        const long rssEnd = residentBytes();
        if (!writer) {
            state.SkipWithError("the data monitor did not open");
            break;
        }
        state.counters["stream_s"] = writer->seconds();
        state.counters["bytes"] = static_cast<double>(writer->written());
        state.counters["line_share"] = writer->lineShare();
        state.counters["most_behind_bytes"] = static_cast<double>(writer->mostBehind());
        state.counters["every_byte_shown"] = everyByte ? 1 : 0;
        state.counters["cpu_percent"] = percent;
        state.counters["cpu_of_goal"] = percent / 30.0;
        state.counters["rss_tenth_MB"] = megabytes(rssAfterFirstTenth);
        state.counters["rss_end_MB"] = megabytes(rssEnd);
        state.counters["rss_peak_MB"] = megabytes(std::max(rssPeak, rssEnd));
        state.counters["rss_growth_MB"] = megabytes(rssEnd - rssAfterFirstTenth);
    }
    state.counters["load1"] = MachineDescription::loadAverage();
}
BENCHMARK(BM_MonitorStream115200)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);

// The capture's bytes, joined, are the writer's stream from its start; how
// many of them there are, or -1 at the first that differs or a line that is
// not whole.
long long capturedStream(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray all = file.readAll();
    if (!all.isEmpty() && !all.endsWith('\n'))
        return -1;
    std::uint64_t position = 0;
    for (const QByteArray& line : all.split('\n')) {
        if (line.isEmpty())
            continue;
        const QJsonObject read = QJsonDocument::fromJson(line).object();
        if (read.contains("baud"))
            continue;
        for (const QJsonValue byte : read["bytes"].toArray()) {
            if (byte.toInt() != PacedWriter::byteAt(position++))
                return -1;
        }
    }
    return static_cast<long long>(position);
}

void BM_MonitorCapture115200(benchmark::State& state)
{
    const double seconds = BenchOptions::current().captureSeconds;
    for (auto _ : state) {
        PtyPair pty;
        RenderedRun run(pty.path());
        QTemporaryDir folder;
        const QString path = folder.filePath("capture.jsonl");
        std::unique_ptr<PacedWriter> writer;
        CpuMeter meter;
        double percent = 0.0;
        long long captured = -1;
        bool everyByte = false;
        whileMonitoring(run, [&](MonitorWindow& monitor) {
            monitor.Baud().click(kStreamBaudOption);
            monitor.KeysCheck().setValue(CheckBox::kChecked);
            monitor.TimeCheck().setValue(CheckBox::kChecked);
            pty.drain();
            auto file = std::make_unique<AppendedFile>();
            if (!file->open(path).isEmpty()) {
                run.program().end();
                return;
            }
            run.program().monitorLines().startCapture("capture.jsonl", std::move(file));
            meter.restart();
            writer = std::make_unique<PacedWriter>(pty.master(), kStreamBitRate);
            QTimer::singleShot(static_cast<int>(seconds * 1e3), [&] {
                writer->stop();
                percent = meter.percentOfCore(writer->cpuSeconds());
                QTimer::singleShot(1000, [&] {
                    run.program().monitorLines().stopCapture();
                    captured = capturedStream(path);
                    everyByte = monitor.Text1().linesAdded() == writer->written();
                    run.program().end();
                });
            });
        });
        if (!writer) {
            state.SkipWithError("the data monitor did not open, or the capture's file");
            break;
        }
        state.counters["capture_s"] = writer->seconds();
        state.counters["bytes"] = static_cast<double>(writer->written());
        state.counters["captured_bytes"] = static_cast<double>(captured);
        state.counters["capture_is_the_stream"] =
            captured == static_cast<long long>(writer->written()) ? 1 : 0;
        state.counters["every_byte_shown"] = everyByte ? 1 : 0;
        state.counters["most_behind_bytes"] = static_cast<double>(writer->mostBehind());
        state.counters["cpu_percent"] = percent;
        state.counters["cpu_of_goal"] = percent / 15.0;
    }
    state.counters["load1"] = MachineDescription::loadAverage();
}
BENCHMARK(BM_MonitorCapture115200)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);

} // namespace
