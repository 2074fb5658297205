// vindle-config run as a process against vindle-emulator on a real
// pseudo-terminal: every command and exit status.

#include "EmulatorProcess.h"
#include "qt/core/FileStoreJournal.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <sys/resource.h>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>

namespace vindle {
namespace {

using test::EmulatorProcess;

constexpr int kLongestRun = 30000; // ms

QStringList words(const char* text)
{
    return QString::fromUtf8(text).split(' ', Qt::SkipEmptyParts);
}

// A module plugged in under the device name `link` (vindle-emulator's
// `options`), once the name is there.
std::unique_ptr<EmulatorProcess> moduleAt(const QString& link, const char* options)
{
    auto emulator = std::make_unique<EmulatorProcess>(QStringList{"--link", link} + words(options));
    for (int waited = 0; !QFileInfo::exists(link) && waited < 5000; waited += 20)
        QTest::qWait(20);
    return emulator;
}

struct Finished
{
    int status = -1;
    QString out;
    QString err;
};

// vindle-config started with `arguments`; VINDLE_PORT is `port` (unset when empty).
class ConfigProcess
{
public:
    // `inChild` runs in the new process just before the program starts.
    explicit ConfigProcess(const QStringList& arguments, const QString& port = {},
                           const std::function<void()>& inChild = {})
    {
        if (inChild)
            process_.setChildProcessModifier(inChild);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("VINDLE_PORT"));
        if (!port.isEmpty())
            environment.insert(QStringLiteral("VINDLE_PORT"), port);
        process_.setProcessEnvironment(environment);
        process_.start(QStringLiteral(VINDLE_CONFIG_PROGRAM), arguments);
        process_.waitForStarted(5000);
    }

    // What the program reads on stdin; the end of input after it when `end`.
    void type(const QByteArray& text, bool end)
    {
        process_.write(text);
        if (end)
            process_.closeWriteChannel();
    }
    // Waits until stderr holds `text`; false when the program ended first.
    bool waitForError(const QString& text)
    {
        return QTest::qWaitFor(
                   [&] {
                       err_ += QString::fromUtf8(process_.readAllStandardError());
                       return err_.contains(text) || process_.state() == QProcess::NotRunning;
                   },
                   kLongestRun) &&
               err_.contains(text);
    }
    // Waits until stdout holds `text` `times` times; false when the program
    // ended first.
    bool waitForOutput(const QString& text, int times = 1)
    {
        while (out_.count(text) < times) {
            if (!process_.waitForReadyRead(kLongestRun))
                return false;
            out_ += QString::fromUtf8(process_.readAllStandardOutput());
        }
        return true;
    }
    qint64 processId() const { return process_.processId(); }
    // As a crash or a pulled plug would end it.
    void kill()
    {
        if (process_.processId() > 0)
            ::kill(static_cast<pid_t>(process_.processId()), SIGKILL);
    }
    // Ctrl+C (or another signal), to this program alone (never to a whole
    // process group).
    void interrupt(int signal = SIGINT)
    {
        if (process_.processId() > 0)
            ::kill(static_cast<pid_t>(process_.processId()), signal);
    }
    Finished finish()
    {
        process_.waitForFinished(kLongestRun);
        out_ += QString::fromUtf8(process_.readAllStandardOutput());
        // A program ended by a signal has the status a shell gives it:
        // 128 and the signal's number (Qt gives the number as the exit code).
        const int status = process_.exitStatus() == QProcess::NormalExit ? process_.exitCode()
                           : process_.state() == QProcess::NotRunning    ? 128 + process_.exitCode()
                                                                         : -1;
        return {status, out_, err_ + QString::fromUtf8(process_.readAllStandardError())};
    }

private:
    QProcess process_;
    QString out_;
    QString err_;
};

class VindleConfig : public ::testing::Test
{
protected:
    // A file read from a module with factory defaults. Its read is checked
    // by every test, so that a read that fails fails them all, visibly.
    static void SetUpTestSuite()
    {
        files_ = std::make_unique<QTemporaryDir>();
        read_ = ConfigProcess({"read", "--emulate", "-o", file("module")}).finish();
    }
    static void TearDownTestSuite() { files_.reset(); }
    void SetUp() override
    {
        ASSERT_EQ(read_.status, 0) << read_.err.toStdString();
        ASSERT_TRUE(QFileInfo(file("module")).isFile());
    }

    static QString file(const char* name) { return files_->filePath(name + QString(".json")); }
    // `arguments` split at spaces, with {port}, {file} and {empty} (an empty
    // argument) filled in; {file:POINTER=TEXT} is the file with the value at
    // that JSON pointer written as TEXT, verbatim (also 1e400 or -0);
    // {file+NAME} is the file followed by the bytes kAppended names.
    static QStringList expand(const char* arguments, const QString& port)
    {
        QStringList expanded = words(arguments);
        expanded.replaceInStrings(QStringLiteral("{port}"), port);
        expanded.replaceInStrings(QStringLiteral("{file}"), file("module"));
        expanded.replaceInStrings(QStringLiteral("{empty}"), QString());
        for (QString& word : expanded) {
            const QRegularExpressionMatch edit =
                QRegularExpression(QStringLiteral("^\\{file(?::(.+)=(.+)|\\+(.+))\\}$"))
                    .match(word);
            if (edit.hasMatch())
                word = edited(edit.captured(1), edit.captured(2), edit.captured(3));
        }
        return expanded;
    }
    static QString edited(const QString& pointer, const QString& value, const QString& appended)
    {
        static const std::map<QString, QByteArray> kAppended = {
            {QString(), QByteArray()},
            {QStringLiteral("nul"), QByteArray("\0{}", 3)},
        };
        QFile source(file("module"));
        if (!source.open(QIODevice::ReadOnly))
            return {};
        nlohmann::json json = nlohmann::json::parse(source.readAll().toStdString());
        const char* const placeholder = "\"\\u0001\"";
        if (!pointer.isEmpty())
            json[nlohmann::json::json_pointer(pointer.toStdString())] = "\x01";
        std::string text = json.dump(2);
        if (!pointer.isEmpty())
            text.replace(text.find(placeholder), std::strlen(placeholder), value.toStdString());
        const QString path = files_->filePath(QStringLiteral("edited-%1.json").arg(++edits_));
        QFile target(path);
        if (target.open(QIODevice::WriteOnly))
            target.write(QByteArray::fromStdString(text) + kAppended.at(appended));
        return path;
    }

    static std::unique_ptr<QTemporaryDir> files_;
    static Finished read_;
    static int edits_;
};

std::unique_ptr<QTemporaryDir> VindleConfig::files_;
Finished VindleConfig::read_;
int VindleConfig::edits_ = 0;

TEST_F(VindleConfig, CommandsAndExitStatuses)
{
    // The emulator's options (none: no emulator; "=DEV": none, and DEV in
    // VINDLE_PORT), the arguments, the exit status, texts each found once in
    // stdout, separated by | ("!" before one: not found), a text in stderr.
    // Output with --json is one JSON value a line.
    const std::tuple<const char*, const char*, int, const char*, const char*> cases[] = {
        {"", "identity --port {port}", 0,
         "Device ID #1: 17\nDevice ID #2: 4\nYear of Release: 26\nFirmware Version: "
         "1\nCapabilities: 1",
         ""},
        {"--device-id1 42", "identity --json --port {port}", 0,
         "\"device_id_1\":42|\"capabilities\":1", ""},
        {"--drop identify:4", "identity --json --port {port}", 3, "\"device_id_1\":null", ""},
        // What the windows would change on the way in is no silent read (the
        // in-process table of ModuleRunTest has the module's other faults).
        {"--set 21=253", "read --json --port {port}", 6, "\"location\":21", ""},
        {"--capabilities 16", "read --accept-changes --port {port}", 0,
         "\"comment\": \"Read with changes the windows made: location 0 (", ""},
        {"", "defaults --yes --port {port}", 0, "", "reads back as before it"},
        // diff: the read command alone (a module that resets on identify
        // keeps what it holds), or two files and no port.
        {"--reset-on-identify --set 5=99", "diff {file} --port {port}", 5,
         "location 5 (Q4T device number): the file holds 0, the module 99\n",
         "differ at location 5."},
        {"", "diff {file} --port {port}", 0, "!location", "hold the same in all 51 locations"},
        {"--set 5=99", "diff {file} --json --port {port}", 5,
         "\"file\":0,\"item\":\"Q4T device number\",\"location\":5,\"module\":99", ""},
        {nullptr, "diff {file} {file:/locations/5/value=7} --port /nonexistent/tty", 5,
         "location 5 (Q4T device number): the first file holds 0, the second 7", ""},
        {nullptr, "diff {file} {file:/locations/5/value=7} --json", 5,
         "\"first\":0,\"item\":\"Q4T device number\",\"location\":5,\"second\":7", ""},
        // A station log that cannot be kept is refused before any port.
        {nullptr, "store {file} --log / --port /nonexistent/tty", 1, "", "not a regular file"},
        {nullptr, "defaults --yes --log /nonexistent/dir/log --port /nonexistent/tty", 1, "",
         "Cannot open the station log"},
        // The port failing: after the last acknowledgement, and mid-store.
        {"--disconnect-after 57", "store {file} --port {port}", 0, "",
         "Stored all 51 locations; then the serial port failed: the device is gone"},
        {"--disconnect-after 40", "store {file} --port {port}", 7, "",
         "The serial port failed: the device is gone (unplugged?); the store was not complete"},
        {"", "identity", 0, "Device ID #1: 17", ""}, // the port from VINDLE_PORT
        {nullptr, "identity --emulate", 0, "Firmware Version: 1", ""},
        {"--set 5=77", "read --port {port}", 0, "\"value\": 77", ""},
        {"--silent", "read --json --port {port}", 3, "did not answer the read command", ""},
        // An output that cannot be made is found before anything is sent.
        {"--reset-on-identify", "read --port {port} -o /nonexistent/dir/module.json", 1, "",
         "/nonexistent/dir/module.json: No such file or directory.  Nothing was sent"},
        {"", "read --port {port} -o {empty}", 1, "", "--output: needs a value"},
        {nullptr, "store {empty}", 1, "", "FILE: needs a value"},
        // A result that does not reach its place is no success.
        {"--reset-on-identify", "read --port {port} >/dev/full", 1, "",
         "No space left on device.  The identify command that ended the read may have cleared"},
        {"", "identity --port {port} >&-", 1, "", "standard output is closed"},
        {"--running --packet-rate 50", "monitor --port {port} >/dev/full", 1, "",
         "could not be written to standard output"},
        {"", "--json store {file} --verify --port {port} >/dev/full", 1, "",
         "could not be written to standard output"},
        {"--set 5=99", "--json diff {file} --port {port} >/dev/full", 5, "",
         "could not be written to standard output"},
        {nullptr, "--help >/dev/full", 1, "", "could not be written"},
        // What the module holds, not what one reply said.
        {nullptr, "diff {file} {file} --log /nonexistent/log", 1, "", "--log records modules"},
        {nullptr, "store {file} --log {file} --port /nonexistent/tty", 1, "", "itself"},
        {"", "defaults --port {port}", 1, "", "--yes"},
        {"--set 13=0 --reset-on-identify", "defaults --yes --port {port}", 0, "",
         "Cleared to factory defaults and read back: 1 location changed."},
        {"--replace read:11:99:0", "store {file} --verify --port {port} --json", 5, "\"module\":99",
         "location 5"},
        {"--set 50=1", "store {file:/locations/50/value=0} --verify --port {port}", 0, "",
         "Stored and verified"},
        // What depends on the file alone is refused before any port is opened.
        {nullptr, "store {file:/locations/49/value=2} --port /nonexistent/tty", 1, "",
         "location 49 (motion activation method): the file holds 2"},
        {nullptr, "store {file:/locations/39/value=128} --port /nonexistent/tty", 1, "",
         "the file cannot be stored as it is"},
        {nullptr, "store {file:/locations/41/value=0} --port /nonexistent/tty", 1, "",
         "location 41"},
        {nullptr, "store {file:/locations/25/value=200} --port /nonexistent/tty", 1, "",
         "(upper limit of an analog channel): the file holds 125"},
        {nullptr, "store {file:/locations/14/value=0} --port /nonexistent/tty", 1, "",
         "not configured to communicate any output data"},
        {nullptr, "store {file:/version=1.0} --port /nonexistent/tty", 1, "",
         "\"version\" must be 1"},
        {nullptr, "store {file:/locations/1/value=255} --port /nonexistent/tty", 2, "", ""},
        {nullptr, "store {file:/module/year=255} --port /nonexistent/tty", 2, "", ""},
        // The file is checked before the port is opened; an empty one is not JSON.
        {nullptr, "store /dev/null --port /nonexistent/tty", 1, "", "not a regular file"},
        {nullptr, "store /dev/zero --port /nonexistent/tty", 1, "", "not a regular file"},
        {nullptr, "store /nonexistent/module.json --port /dev/null", 1, "",
         "/nonexistent/module.json"},
        {nullptr, "identity --port /nonexistent/tty", 2, "",
         "Cannot open the serial port /nonexistent/tty"},
        {nullptr, "identity --port vindle-no-such-tty", 2, "",
         "Cannot open the serial port /dev/vindle-no-such-tty"},
        {"=/nonexistent/tty", "identity", 2, "", "VINDLE_PORT=/nonexistent/tty"},
        {nullptr, "identity", 2, "", "VINDLE_PORT"},
        {nullptr, "", 1, "", "--help"},
        {nullptr, "identity --json --no-such-option", 1, "\"status\":1", "--no-such-option"},
        {nullptr, "store {file} --repeat", 1, "", "--verify"},
        // The station record: what a backup would replace, and options
        // that mean nothing without what they go with.
        {nullptr,
         "store {file} --verify --repeat --backup /nonexistent/b.json --port /nonexistent/tty", 1,
         "", "each module's line holds what it held before as \"before\"."},
        {nullptr, "store {file} --backup {file} --port /nonexistent/tty", 1, "",
         "the backup would replace the file to store"},
        {nullptr, "store {file} --backup /nonexistent/dir/b.json --port /nonexistent/tty", 1, "",
         "/nonexistent/dir/b.json: No such file or directory.  Nothing was sent"},
        {nullptr, "store {file} --station Bench-1 --port /nonexistent/tty", 1, "",
         "--station requires --log"},
        {nullptr, "defaults --yes --ask-serial --log /nonexistent/log --port /nonexistent/tty", 1,
         "", "--ask-serial"},
        // Numbers no double holds, -0 quoted as written, text after a NUL.
        {nullptr, "store {file:/locations/5/value=1e400} --port /nonexistent/tty", 1, "",
         "Location \"5\": \"value\" must be an integer from 0 to 255, not 1e400."},
        {nullptr, "store {file:/module/year=-1e999} --json --port /nonexistent/tty", 1,
         "not -1e999.|\"status\":1", ""},
        {nullptr, "store {file:/locations/5/value=-0} --port /nonexistent/tty", 1, "", "not -0."},
        {nullptr, "store {file+nul} --port /nonexistent/tty", 1, "", "holds a NUL byte"},
        {nullptr, "identity --port {empty}", 1, "", "--port: needs a value"},
        {nullptr, "monitor --baud {empty} --port /nonexistent/tty", 1, "", "--baud: needs a value"},
        {nullptr, "--json --help", 0, "{\"command\":null,\"help\":\"Reads, stores|\"status\":0}",
         ""},
        {nullptr, "--version --json", 0,
         "{\"command\":null,\"status\":0,\"version\":\"vindle-config " VINDLE_CONFIG_VERSION "\"}",
         ""},
        {nullptr, "--help", 0,
         "0    done|1    usage|2    the port|3    no answer|4    the module refused|"
         "5    --verify|6    the module holds|7    the serial port failed|130  interrupted",
         ""},
        {nullptr, "--version", 0, VINDLE_CONFIG_VERSION, ""},
    };
    for (const auto& [options, command, status, inStdout, inStderr] : cases) {
        SCOPED_TRACE(std::string(options ? options : "(none)") + " | " + command);
        std::unique_ptr<EmulatorProcess> emulator;
        QString port;
        if (options && options[0] == '=') {
            port = QString::fromUtf8(options + 1);
        } else if (options) {
            emulator = std::make_unique<EmulatorProcess>(words(options));
            port = emulator->devicePath();
            ASSERT_FALSE(port.isEmpty());
        }
        QStringList arguments = expand(command, port);
        // Where stdout goes, as a shell's redirection says it.
        const bool full = arguments.removeAll(QStringLiteral(">/dev/full")) > 0;
        const bool closed = arguments.removeAll(QStringLiteral(">&-")) > 0;
        const auto redirected = [full, closed] {
            if (full)
                ::dup2(::open("/dev/full", O_WRONLY), STDOUT_FILENO);
            if (closed)
                ::close(STDOUT_FILENO);
        };
        // With no --port, the emulator's port is in VINDLE_PORT.
        const Finished run =
            ConfigProcess(arguments, arguments.contains("--port") ? QString() : port, redirected)
                .finish();
        EXPECT_EQ(run.status, status) << run.err.toStdString();
        for (const QString& text : QString::fromUtf8(inStdout).split('|', Qt::SkipEmptyParts)) {
            if (text.startsWith('!'))
                EXPECT_FALSE(run.out.contains(text.mid(1))) << run.out.toStdString();
            else
                EXPECT_EQ(run.out.count(text), 1) << run.out.toStdString();
        }
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(inStderr))) << run.err.toStdString();
        if (arguments.contains("--json")) {
            for (const QString& line : run.out.split('\n', Qt::SkipEmptyParts))
                EXPECT_TRUE(nlohmann::json::accept(line.toStdString())) << line.toStdString();
        }
    }
}

// A port that another run holds is in use, which no group membership changes,
// also when the holder opened it under another name (a /dev/serial/by-id/
// link).
TEST_F(VindleConfig, APortInUseNamesTheProgramHoldingIt)
{
    const QString link = files_->filePath(QStringLiteral("by-id-link"));
    EmulatorProcess emulator(
        {"--running", "--traffic", "header", "--packet-rate", "20", "--link", link});
    ConfigProcess holder({"monitor", "--port", link});
    ASSERT_TRUE(holder.waitForOutput(QStringLiteral("\n"))); // the port is open
    const Finished run = ConfigProcess({"identity", "--port", emulator.devicePath()}).finish();
    const QString inUse = QStringLiteral("%1: it is in use by vindle-config (process %2).")
                              .arg(emulator.devicePath())
                              .arg(holder.processId());
    holder.interrupt();
    EXPECT_EQ(holder.finish().status, 0);
    EXPECT_EQ(run.status, 2) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(inUse)) << run.err.toStdString();
    EXPECT_FALSE(run.err.contains(QStringLiteral("dialout"))) << run.err.toStdString();
}

// Commands one after another against one module, each starting while the
// module may still be busy with the one before, store exactly what the file
// holds.
TEST_F(VindleConfig, CommandsInARowStoreExactlyTheFile)
{
    EmulatorProcess module(words("--reset-on-identify --set 1=40 --set 5=12 --set 41=30"));
    const QString port = module.devicePath();
    const QString saved = file("row");
    const std::pair<QStringList, int> steps[] = {
        {{"read", "-o", saved}, 0}, {{"store", saved}, 0}, {{"store", saved, "--verify"}, 0},
        {{"store", saved}, 0},      {{"store", saved}, 0},
    };
    for (const auto& [arguments, status] : steps) {
        const Finished run = ConfigProcess(arguments + QStringList{"--port", port}).finish();
        EXPECT_EQ(run.status, status) << arguments.join(' ').toStdString() << "\n"
                                      << run.err.toStdString();
    }
    // A store cut short by Ctrl+C, then the next.
    ConfigProcess interrupted({"store", saved, "--port", port});
    QTest::qWait(40);
    interrupted.interrupt();
    EXPECT_EQ(interrupted.finish().status, 130);
    EXPECT_EQ(ConfigProcess({"store", saved, "--port", port}).finish().status, 0);

    const Finished readBack = ConfigProcess({"read", "--port", port}).finish();
    QFile expected(saved);
    ASSERT_TRUE(expected.open(QIODevice::ReadOnly));
    EXPECT_EQ(readBack.out, QString::fromUtf8(expected.readAll()));
}

// A store that ended part-way leaves the module taking bytes as values until
// it gives the store up: the next run, started at once, must not send it
// commands before then, whether the store was refused or its program killed.
TEST_F(VindleConfig, TheRunAfterAStoreCutShortFindsTheModuleReady)
{
    QFile file(VindleConfig::file("module"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString expected = QString::fromUtf8(file.readAll());
    // The emulator's options; the store's status (-1: killed once its note
    // is there, while the latency timer makes it last about a second).
    // A run that ends by itself leaves no note of a store under way: it
    // waited a store cut short out.
    const std::pair<const char*, int> cases[] = {
        {"--wrong-echo 5", 4}, {"", 0}, {"--latency-timer 16", -1}};
    for (const auto& [options, storeStatus] : cases) {
        SCOPED_TRACE(options);
        EmulatorProcess module(words(options));
        const QStringList port{"--port", module.devicePath()};
        const FileStoreJournal journal(module.devicePath());
        ConfigProcess store(QStringList{"store", VindleConfig::file("module")} + port);
        if (storeStatus < 0) {
            ASSERT_TRUE(QTest::qWaitFor([&journal] { return QFileInfo::exists(journal.path()); },
                                        kLongestRun));
            QTest::qWait(200);
            store.kill();
            store.finish();
        } else {
            EXPECT_EQ(store.finish().status, storeStatus);
            EXPECT_FALSE(QFileInfo::exists(journal.path()));
        }
        const Finished identity = ConfigProcess(QStringList{"identity"} + port).finish();
        EXPECT_EQ(identity.status, 0) << identity.err.toStdString();
        EXPECT_TRUE(identity.out.contains("Device ID #1: 17\nDevice ID #2: 4\n"))
            << identity.out.toStdString();
        const Finished read = ConfigProcess(QStringList{"read"} + port).finish();
        EXPECT_EQ(read.status, 0) << read.err.toStdString();
        EXPECT_EQ(read.out, expected);
        EXPECT_FALSE(QFileInfo::exists(journal.path()));
    }
}

// A FIFO, a device or another file that is not a regular one is never
// replaced by a configuration.
TEST_F(VindleConfig, ReadRefusesToReplaceWhatIsNotARegularFile)
{
    const QString fifo = files_->filePath(QStringLiteral("fifo"));
    ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    const Finished run = ConfigProcess({"read", "--emulate", "-o", fifo}).finish();
    EXPECT_EQ(run.status, 1) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("not a regular file")) << run.err.toStdString();
    EXPECT_TRUE(QFileInfo(fifo).exists() && !QFileInfo(fifo).isFile());
}

TEST_F(VindleConfig, MonitorPrintsLinesOldestFirstUntilInterrupted)
{
    // The traffic, the options, what follows a packet's header line, what
    // begins each line. --keys alone also frames the header.
    const std::tuple<const char*, QStringList, const char*, const char*> cases[] = {
        {"header", {"--header"}, "", "^[01]{8}> "},
        {"keys", {"--keys"}, "<KEY 1", "^[01]{8}> "},
        {"keys", {"--keys", "--capture", file("capture")}, "<KEY 1", "^[01]{8}> "},
        {"keys",
         {"--keys", "--timestamps", "--hex"},
         "<KEY 1",
         "^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d{3}Z  [01]{8}>     [0-9A-F]{2}  "},
    };
    const QString header = QStringLiteral("HEADER DETECTED");
    for (const auto& [traffic, options, afterHeader, start] : cases) {
        SCOPED_TRACE(options.join(' ').toStdString());
        EmulatorProcess emulator({"--running", "--traffic", traffic, "--packet-rate", "20"});
        ConfigProcess monitor(QStringList{"monitor"} + options +
                              QStringList{"--port", emulator.devicePath()});
        ASSERT_TRUE(monitor.waitForOutput(header, 3));
        monitor.interrupt();
        const Finished run = monitor.finish();
        EXPECT_EQ(run.status, 0) << run.err.toStdString();
        // Each packet is its header, its keys, then its one data byte.
        const QStringList lines = run.out.split('\n', Qt::SkipEmptyParts);
        ASSERT_GE(lines.size(), 3);
        const QRegularExpression begins(QString::fromUtf8(start));
        for (const QString& line : lines)
            EXPECT_TRUE(begins.match(line).hasMatch()) << line.toStdString();
        // The capture holds every byte a line was made of, once.
        if (options.contains("--capture")) {
            QFile captured(file("capture"));
            ASSERT_TRUE(captured.open(QIODevice::ReadOnly));
            qsizetype bytes = 0;
            for (const QByteArray& line : captured.readAll().split('\n')) {
                if (!line.isEmpty())
                    bytes += static_cast<qsizetype>(
                        nlohmann::json::parse(line.toStdString()).at("bytes").size());
            }
            EXPECT_EQ(bytes, lines.size());
        }
        for (int i = 1; i < lines.size(); ++i) {
            if (!lines[i - 1].contains(header))
                continue;
            EXPECT_FALSE(lines[i].contains(header)) << i;
            EXPECT_TRUE(lines[i].contains(QString::fromUtf8(afterHeader))) << i;
        }
    }

    // A capture that a full disk stops ends the monitor by itself, saying
    // so; what the file holds stays whole lines.
    const QString capture = file("full-capture");
    QFile filled(capture);
    ASSERT_TRUE(filled.open(QIODevice::WriteOnly));
    filled.write(QByteArray(4095, '.') + '\n');
    filled.close();
    const auto full = [] {
        const rlimit limit{4096 + 64, 4096 + 64};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    };
    EmulatorProcess emulator({"--running", "--traffic", "keys", "--packet-rate", "50"});
    const Finished stopped =
        ConfigProcess({"monitor", "--keys", "--capture", capture, "--port", emulator.devicePath()},
                      {}, full)
            .finish();
    EXPECT_EQ(stopped.status, 1) << stopped.err.toStdString();
    EXPECT_TRUE(stopped.err.contains("Cannot write to the capture file"))
        << stopped.err.toStdString();
    ASSERT_TRUE(filled.open(QIODevice::ReadOnly));
    EXPECT_TRUE(filled.readAll().endsWith('\n'));
}

TEST_F(VindleConfig, InterruptedStoreIsFinishedFirstUnlessInterruptedTwice)
{
    // Every reply byte late: the store takes seconds. The Ctrl+Cs sent, the
    // time between them (signals closer than 0.3 s are one press, as
    // `timeout -s INT` sends one to the program and one to its group), a
    // text in stderr. Either way the status is 130 and stderr says what was
    // stored.
    const std::tuple<const char*, int, int, const char*> cases[] = {
        {"60", 1, 0, "all 51 locations were stored"},
        {"60", 2, 3, "all 51 locations were stored"},
        {"150", 2, 500, "the store was not complete"},
    };
    for (const auto& [delay, interrupts, apart, inStderr] : cases) {
        SCOPED_TRACE(std::to_string(interrupts) + " " + std::to_string(apart));
        EmulatorProcess emulator({"--byte-delay", delay});
        // The Ctrl+Cs come once this store is under way: its note is there. A
        // note an earlier case left under a device name used again is no sign
        // of this one.
        const FileStoreJournal journal(emulator.devicePath());
        QFile::remove(journal.path());
        ConfigProcess store({"store", file("module"), "--verify", "--port", emulator.devicePath()});
        ASSERT_TRUE(
            QTest::qWaitFor([&journal] { return QFileInfo::exists(journal.path()); }, kLongestRun));
        for (int i = 0; i < interrupts; ++i) {
            if (i > 0)
                QTest::qWait(apart);
            store.interrupt();
        }
        const Finished run = store.finish();
        EXPECT_EQ(run.status, 130) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(inStderr)) << run.err.toStdString();
    }
}

// One module after another on the same device name, each unplugged once its
// line is out.
TEST_F(VindleConfig, RepeatProvisionsOneModuleAfterAnother)
{
    // Each module's emulator options and line (none: it never answers); the
    // summary; the exit status; more arguments. With --json each module's
    // object comes as soon as it is done.
    using Modules = std::vector<std::pair<const char*, const char*>>;
    const std::tuple<Modules, const char*, int, const char*> cases[] = {
        {{{"--device-id1 31", "Module 1, Device ID #1: 31"},
          {"--device-id1 32", "Module 2, Device ID #1: 32"}},
         "2 modules stored and verified, none failed.",
         0,
         ""},
        {{{"--device-id1 35 --wrong-echo 7",
           "Capabilities: 1: the module refused the store at location 7"},
          {"--device-id1 32", "Module 2, Device ID #1: 32"}},
         "1 module stored and verified; 1 failed: module 1 (Device ID #1: 35",
         4,
         ""},
        {{{"--device-id1 33 --replace read:11:99:0",
           "Capabilities: 1: stored, but the read-back differs at location 5"}},
         "0 modules stored and verified; 1 failed: module 1 (Device ID #1: 33",
         5,
         ""},
        {{{"--device-id1 36 --disconnect-after 140",
           "Capabilities: 1: the serial port failed; locations 0 to 28 were stored"}},
         "0 modules stored and verified; 1 failed: module 1 (Device ID #1: 36",
         7,
         ""},
        {{{"--silent", ""}}, "0 modules stored and verified, none failed.", 130, ""},
        {{{"--device-id1 37", "\"result\":\"stored and verified\""}},
         "\"provisioned\":1",
         0,
         "--json"},
    };
    const QString link = files_->filePath("module-link");
    const auto plugIn = [&link](const char* options) { return moduleAt(link, options); };
    for (const auto& [modules, summary, status, more] : cases) {
        SCOPED_TRACE(summary);
        auto module = plugIn(modules.front().first);
        // The modules tell themselves apart by their Device ID #1, which
        // would make them other kinds of module than the file's.
        ConfigProcess provisioning(QStringList{"store", file("module"), "--verify", "--repeat",
                                               "--any-module", "--port", link} +
                                   words(more));
        bool allLines = true;
        for (std::size_t i = 0; i < modules.size() && allLines; ++i) {
            if (i > 0)
                module = plugIn(modules[i].first);
            const QString line = QString::fromUtf8(modules[i].second);
            if (line.isEmpty())
                QTest::qWait(1500);
            else
                allLines = provisioning.waitForOutput(line);
            module.reset();
        }
        provisioning.interrupt();
        const Finished run = provisioning.finish();
        EXPECT_TRUE(allLines) << run.out.toStdString() << run.err.toStdString();
        EXPECT_EQ(run.status, status) << run.err.toStdString();
        EXPECT_TRUE(run.out.contains(QString::fromUtf8(summary))) << run.out.toStdString();
    }
}

// A Ctrl+C in the program's first milliseconds is never lost, and SIGTERM and
// SIGHUP end a run as Ctrl+C does, with its last words.
TEST_F(VindleConfig, SignalsFromTheFirstMomentEndTheRunWithItsLastWords)
{
    // The emulator's options, the arguments, the signal and when (ms after
    // the start), the status, a text in stdout and one in stderr.
    const std::tuple<const char*, const char*, int, int, int, const char*, const char*> cases[] = {
        // So early, the program may not have reached its handler yet (a
        // slow start, a sanitizer's): then the signal ends it, as a shell
        // sees status 130 too. Either way nothing is stored or cleared.
        {"", "store {file} --verify", SIGINT, 30, 130, "", ""},
        {"", "defaults --yes", SIGINT, 30, 130, "", ""},
        {"--running", "monitor", SIGINT, 30, 0, "", ""},
        {"--running --packet-rate 50", "monitor --header", SIGTERM, 1500, 0, "HEADER DETECTED", ""},
        {"--silent", "store {file} --verify --repeat", SIGHUP, 1500, 130,
         "0 modules stored and verified, none failed.", ""},
    };
    for (const auto& [options, command, signal, after, status, inStdout, inStderr] : cases) {
        SCOPED_TRACE(std::string(command) + " " + std::to_string(signal));
        EmulatorProcess module(words(options));
        ConfigProcess run(expand(command, module.devicePath()) +
                          QStringList{"--port", module.devicePath()});
        QTest::qWait(after);
        run.interrupt(signal);
        const Finished ended = run.finish();
        EXPECT_EQ(ended.status, status) << ended.err.toStdString();
        EXPECT_TRUE(ended.out.contains(QString::fromUtf8(inStdout))) << ended.out.toStdString();
        EXPECT_TRUE(ended.err.contains(QString::fromUtf8(inStderr))) << ended.err.toStdString();
    }
}

// The station log only grows, a whole line per module, each naming the
// file by its path and its hash; a FIFO is never taken for it.
TEST_F(VindleConfig, TheStationLogAppendsALinePerModule)
{
    const QString log = files_->filePath(QStringLiteral("station.log"));
    QFile earlier(log);
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    // Cut short by a crash: the next line still starts on its own.
    earlier.write("an earlier line");
    earlier.close();
    EmulatorProcess module(words("--set 5=99"));
    const QStringList logged{"--log", log, "--port", module.devicePath()};
    // The command, its status, the result line's start.
    const std::tuple<QStringList, int, const char*> runs[] = {
        {{"diff", file("module")}, 5, "The Vindle Module and "},
        {{"store", file("module"), "--verify"}, 0, "Stored and verified all 51 locations."},
        {{"diff", file("module")}, 0, "The Vindle Module and "},
    };
    for (const auto& [arguments, status, result] : runs)
        EXPECT_EQ(ConfigProcess(arguments + logged).finish().status, status);

    QFile written(log);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = written.readAll().split('\n');
    ASSERT_EQ(lines.size(), 5); // four lines and the end of the last
    EXPECT_EQ(lines[0], "an earlier line");
    QFile source(file("module"));
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    const std::string hash = QCryptographicHash::hash(source.readAll(), QCryptographicHash::Sha256)
                                 .toHex()
                                 .toStdString();
    for (std::size_t i = 0; i < std::size(runs); ++i) {
        SCOPED_TRACE(i);
        const auto entry = nlohmann::json::parse(lines[static_cast<int>(i) + 1].toStdString());
        EXPECT_EQ(entry["command"], std::get<0>(runs[i])[0].toStdString());
        EXPECT_EQ(entry["status"], std::get<1>(runs[i]));
        EXPECT_EQ(entry["file"], file("module").toStdString());
        EXPECT_EQ(entry["file_sha256"], hash);
        EXPECT_EQ(entry["port"], module.devicePath().toStdString());
        EXPECT_EQ(entry["result"].get<std::string>().rfind(std::get<2>(runs[i]), 0), 0U);
        EXPECT_TRUE(QDateTime::fromString(QString::fromStdString(entry["time"]), Qt::ISODateWithMs)
                        .isValid());
        EXPECT_EQ(entry["module"].size(), 5U);
    }
    EXPECT_EQ(nlohmann::json::parse(lines[1].toStdString())["differences"][0]["module"], 99);
    EXPECT_EQ(nlohmann::json::parse(lines[2].toStdString())["module"]["device_id_1"], 17);

    // A disk that fills up within a line (the process may write only part
    // of it): the part is taken back, and --repeat ends at once after the
    // module whose line it cannot write.
    const auto full = [] {
        const rlimit limit{4096 + 64, 4096 + 64};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    };
    const QString fullLog = files_->filePath(QStringLiteral("full.log"));
    QFile filled(fullLog);
    ASSERT_TRUE(filled.open(QIODevice::WriteOnly));
    filled.write(QByteArray(4096, '.'));
    filled.close();
    // A single store too: stored, but not recorded, is no success.
    for (const QStringList& more : {QStringList{"--repeat"}, QStringList{}}) {
        SCOPED_TRACE(more.join(' ').toStdString());
        const Finished stopped =
            ConfigProcess(QStringList{"store", file("module"), "--verify", "--log", fullLog,
                                      "--port", module.devicePath()} +
                              more,
                          {}, full)
                .finish();
        EXPECT_EQ(stopped.status, 1) << stopped.err.toStdString();
        EXPECT_TRUE(stopped.err.contains("Cannot write to the station log"))
            << stopped.err.toStdString();
        EXPECT_EQ(stopped.out.contains("Module 1, Device ID #1: 17"), !more.isEmpty())
            << stopped.out.toStdString();
        EXPECT_EQ(QFileInfo(fullLog).size(), 4096);
    }

    const QString fifo = files_->filePath(QStringLiteral("station.fifo"));
    ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    const Finished refused =
        ConfigProcess({"diff", file("module"), "--log", fifo, "--port", module.devicePath()})
            .finish();
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(refused.err.contains("not a regular file")) << refused.err.toStdString();
}

// The file read from one module, stored into another that holds other values,
// reads back the same.
TEST_F(VindleConfig, AFileStoredIntoAnotherModuleReadsBackTheSame)
{
    EmulatorProcess target(
        words("--set 1=40 --set 5=12 --set 6=200 --set 13=9 --set 19=3 --set 41=30 --set 50=1"));
    const Finished store =
        ConfigProcess({"store", file("module"), "--verify", "--port", target.devicePath()})
            .finish();
    EXPECT_EQ(store.status, 0) << store.err.toStdString();
    EXPECT_TRUE(store.err.contains("Stored and verified")) << store.err.toStdString();
    const Finished readBack = ConfigProcess({"read", "--port", target.devicePath()}).finish();
    QFile saved(file("module"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(readBack.out, QString::fromUtf8(saved.readAll()));
}

// Each unit's line names the station, the person, its serial number (asked
// on stdin, a number already in the log only when given again) and what it
// held before; --backup keeps that in a file before the store begins.
TEST_F(VindleConfig, TheStationRecordNamesEachUnit)
{
    // What the log holds before; each module's emulator options; the
    // arguments ({log}, {backup}); stdin (nullptr: left open, and Ctrl+C
    // once the question is asked); the status; a text in stderr; for each
    // line the run adds, keys and their values as JSON ("-": absent).
    using Keys = std::vector<std::pair<const char*, const char*>>;
    struct Case
    {
        const char* logged;
        std::vector<const char*> modules;
        const char* arguments;
        const char* input;
        int status;
        const char* inStderr;
        std::vector<Keys> lines;
    };
    const char* const held = "--set 5=99 --set 1=40";
    const Case cases[] = {
        {"",
         {held},
         "store {file} --verify --ask-serial --log {log} --station Bench-1 --operator Ann "
         "--backup {backup}",
         "\n  SN-1 \n",
         0,
         "Serial number of module 1: ",
         {{{"serial", "\"SN-1\""},
           {"station", "\"Bench-1\""},
           {"operator", "\"Ann\""},
           {"attempt", "-"}}}},
        {"{\"serial\":\"SN-1\"}\nnot a line of this log\n",
         {held},
         "store {file} --ask-serial --log {log}",
         "SN-1\nSN-1\n",
         0,
         "Serial number SN-1 is already in the log. Scan or type it again",
         {{{"serial", "\"SN-1\""}, {"attempt", "2"}, {"station", "-"}, {"before", "-"}}}},
        {"", {held}, "store {file} --ask-serial --log {log}", "", 130, "the input ended", {}},
        {"", {held}, "store {file} --ask-serial --log {log}", nullptr, 130, "Interrupted", {}},
        // The bench: its own lines count too, and the end of input ends it.
        {"",
         {"--device-id1 31 --set 5=99", "--device-id1 32"},
         "store {file} --verify --repeat --any-module --ask-serial --log {log} --operator Ann",
         "SN-1\nSN-1\nSN-1\n",
         0,
         "Serial number of module 3: ",
         {{{"serial", "\"SN-1\""}, {"attempt", "-"}, {"operator", "\"Ann\""}},
          {{"serial", "\"SN-1\""}, {"attempt", "2"}, {"station", "-"}}}},
    };
    const QString link = files_->filePath("record-link");
    const QString backup = files_->filePath("backup.json");
    const QString log = files_->filePath("record.log");
    const auto plugIn = [&link](const char* options) { return moduleAt(link, options); };
    const auto jsonOf = [](const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? nlohmann::json::parse(file.readAll().toStdString())
                                              : nlohmann::json();
    };
    const nlohmann::json stored = jsonOf(file("module"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        QFile::remove(backup);
        QFile earlier(log);
        ASSERT_TRUE(earlier.open(QIODevice::WriteOnly | QIODevice::Truncate));
        earlier.write(c.logged);
        earlier.close();
        auto module = plugIn(c.modules.front());
        QStringList arguments = expand(c.arguments, link);
        arguments.replaceInStrings(QStringLiteral("{log}"), log);
        arguments.replaceInStrings(QStringLiteral("{backup}"), backup);
        ConfigProcess run(arguments + QStringList{"--port", link});
        if (c.input) {
            run.type(c.input, true);
        } else {
            ASSERT_TRUE(run.waitForError(QStringLiteral("Serial number of module 1: ")));
            run.interrupt();
        }
        // Each module is unplugged once its line is out, and the next one
        // plugged in.
        for (std::size_t i = 0; c.modules.size() > 1 && i < c.modules.size(); ++i) {
            if (i > 0)
                module = plugIn(c.modules[i]);
            // Each line names the unit by its serial number.
            EXPECT_TRUE(
                run.waitForOutput(QStringLiteral("Module %1 (serial number SN-1), ").arg(i + 1)));
            module.reset();
        }
        const Finished ended = run.finish();
        EXPECT_EQ(ended.status, c.status) << ended.err.toStdString();
        EXPECT_TRUE(ended.err.contains(QString::fromUtf8(c.inStderr))) << ended.err.toStdString();

        ASSERT_TRUE(earlier.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines =
            earlier.readAll().mid(static_cast<qsizetype>(std::strlen(c.logged))).split('\n');
        earlier.close();
        ASSERT_EQ(static_cast<std::size_t>(lines.size()), c.lines.size() + 1); // and the last end
        for (std::size_t i = 0; i < c.lines.size(); ++i) {
            const nlohmann::json line =
                nlohmann::json::parse(lines[static_cast<int>(i)].toStdString());
            for (const auto& [key, value] : c.lines[i]) {
                if (std::string_view(value) == "-")
                    EXPECT_FALSE(line.contains(key)) << key;
                else
                    EXPECT_EQ(line.value(key, nlohmann::json()).dump(), value) << key;
            }
        }
        if (!arguments.contains(backup))
            continue;
        // The backup holds what the module held before the store: the line's
        // "before", as the windows' file keeps it.
        const nlohmann::json saved = jsonOf(backup);
        const nlohmann::json before = nlohmann::json::parse(lines[0].toStdString())["before"];
        ASSERT_EQ(before.size(), 51U);
        for (int location = 0; location < 51; ++location) {
            const std::string key = std::to_string(location);
            const int expected = location == 5   ? 99
                                 : location == 1 ? 40
                                                 : stored["locations"][key]["value"].get<int>();
            EXPECT_EQ(saved["locations"][key]["value"], expected) << location;
            EXPECT_EQ(before[static_cast<std::size_t>(location)], expected) << location;
        }
    }
}

} // namespace
} // namespace vindle
