// vindle-config run as a process against vindle-emulator on a real
// pseudo-terminal: every command and exit status.

#include "EmulatorProcess.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <gtest/gtest.h>
#include <memory>

namespace vindle {
namespace {

using test::EmulatorProcess;

constexpr int kLongestRun = 30000; // ms

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
    explicit ConfigProcess(const QStringList& arguments, const QString& port = {})
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("VINDLE_PORT"));
        if (!port.isEmpty())
            environment.insert(QStringLiteral("VINDLE_PORT"), port);
        process_.setProcessEnvironment(environment);
        process_.start(QStringLiteral(VINDLE_CONFIG_PROGRAM), arguments);
        process_.waitForStarted(5000);
    }
    ~ConfigProcess()
    {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished(2000);
        }
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
    void interrupt() { ::kill(static_cast<pid_t>(process_.processId()), SIGINT); }
    Finished finish()
    {
        process_.waitForFinished(kLongestRun);
        out_ += QString::fromUtf8(process_.readAllStandardOutput());
        return {process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1, out_,
                QString::fromUtf8(process_.readAllStandardError())};
    }

private:
    QProcess process_;
    QString out_;
};

class VindleConfig : public ::testing::Test
{
protected:
    // A file read from a module with factory defaults, and one that is not JSON.
    static void SetUpTestSuite()
    {
        files_ = std::make_unique<QTemporaryDir>();
        Finished read =
            ConfigProcess({"read", "--emulate", "-o", files_->filePath("module.json")}).finish();
        ASSERT_EQ(read.status, 0) << read.err.toStdString();
        QFile broken(files_->filePath("broken.json"));
        ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
        broken.write("{\"format\": \"vindle-configuration\",\n  \"version\": 1,,\n");
    }
    static void TearDownTestSuite() { files_.reset(); }

    static QStringList expand(const QStringList& arguments, const QString& port)
    {
        QStringList expanded;
        for (QString argument : arguments) {
            argument.replace(QStringLiteral("{port}"), port);
            argument.replace(QStringLiteral("{file}"), files_->filePath("module.json"));
            argument.replace(QStringLiteral("{broken}"), files_->filePath("broken.json"));
            expanded << argument;
        }
        return expanded;
    }

    static std::unique_ptr<QTemporaryDir> files_;
};

std::unique_ptr<QTemporaryDir> VindleConfig::files_;

struct CommandCase
{
    const char* name;
    bool emulator;
    QStringList emulatorArguments;
    QStringList arguments; // {port}, {file} and {broken} are filled in
    bool portInEnvironment;
    int status;
    const char* inStdout;
    const char* inStderr;
};

TEST_F(VindleConfig, CommandsAndExitStatuses)
{
    const std::vector<CommandCase> cases{
        {"identity",
         true,
         {},
         {"identity", "--port", "{port}"},
         false,
         0,
         "Device ID #1: 17\nDevice ID #2: 4\nYear of Release: 26\nFirmware Version: 1",
         ""},
        {"identity as JSON",
         true,
         {"--device-id1", "42"},
         {"identity", "--json", "--port", "{port}"},
         false,
         0,
         "\"device_id_1\": 42",
         ""},
        {"port from VINDLE_PORT", true, {}, {"identity"}, true, 0, "Device ID #1: 17", ""},
        {"built-in emulated module",
         false,
         {},
         {"identity", "--emulate"},
         false,
         0,
         "Firmware Version: 1",
         ""},
        {"read to stdout",
         true,
         {"--set", "5=77"},
         {"read", "--port", "{port}"},
         false,
         0,
         "\"value\": 77",
         ""},
        {"read from a silent module",
         true,
         {"--silent"},
         {"read", "--port", "{port}"},
         false,
         3,
         "",
         "Unable to Establish Communications with the Vindle Module."},
        {"read of a value the windows cannot show",
         true,
         {"--set", "13=0"},
         {"read", "--port", "{port}"},
         false,
         6,
         "",
         "(transmit interval) holds 0, which the windows cannot show."},
        {"defaults without --yes",
         true,
         {},
         {"defaults", "--port", "{port}"},
         false,
         1,
         "",
         "--yes"},
        {"defaults",
         true,
         {"--set", "13=0", "--reset-on-identify"},
         {"defaults", "--yes", "--port", "{port}"},
         false,
         0,
         "",
         "Cleared to factory defaults"},
        {"store and verify",
         true,
         {"--set", "5=77"},
         {"store", "{file}", "--verify", "--port", "{port}"},
         false,
         0,
         "",
         "Stored and verified"},
        {"store refused",
         true,
         {"--wrong-echo", "7"},
         {"store", "{file}", "--port", "{port}"},
         false,
         4,
         "",
         "did not acknowledge location 7"},
        {"verify finds a difference",
         true,
         {"--replace", "read:11:99:0"},
         {"store", "{file}", "--verify", "--port", "{port}", "--json"},
         false,
         5,
         "\"module\": 99",
         "location 5"},
        // The file is checked before the port is opened: an invalid file is
        // status 1 even on a port that does not exist.
        {"invalid file",
         false,
         {},
         {"store", "{broken}", "--port", "/nonexistent/tty"},
         false,
         1,
         "",
         "Nothing was sent"},
        {"missing file",
         false,
         {},
         {"store", "/nonexistent/module.json", "--port", "/dev/null"},
         false,
         1,
         "",
         "/nonexistent/module.json"},
        {"port that cannot be opened",
         false,
         {},
         {"identity", "--port", "/nonexistent/tty"},
         false,
         2,
         "",
         "Cannot open the serial port /nonexistent/tty"},
        {"no port given", false, {}, {"identity"}, false, 2, "", "VINDLE_PORT"},
        {"no command", false, {}, {}, false, 1, "", "--help"},
        {"repeat without verify",
         false,
         {},
         {"store", "{file}", "--repeat"},
         false,
         1,
         "",
         "--verify"},
        {"help", false, {}, {"--help"}, false, 0, "Exit status:", ""},
        {"version", false, {}, {"--version"}, false, 0, VINDLE_CONFIG_VERSION, ""},
    };
    for (const CommandCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<EmulatorProcess> emulator;
        QString port;
        if (c.emulator) {
            emulator = std::make_unique<EmulatorProcess>(c.emulatorArguments);
            port = emulator->devicePath();
            ASSERT_FALSE(port.isEmpty());
        }
        const Finished run =
            ConfigProcess(expand(c.arguments, port), c.portInEnvironment ? port : QString())
                .finish();
        EXPECT_EQ(run.status, c.status) << run.err.toStdString();
        EXPECT_TRUE(run.out.contains(QString::fromUtf8(c.inStdout))) << run.out.toStdString();
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(c.inStderr))) << run.err.toStdString();
    }
}

TEST_F(VindleConfig, HelpListsEveryExitStatus)
{
    const Finished help = ConfigProcess({"--help"}).finish();
    for (const char* line :
         {"0    done", "1    usage", "2    the port", "3    no answer", "4    the module refused",
          "5    --verify", "6    the module holds", "130  interrupted"})
        EXPECT_TRUE(help.out.contains(QString::fromUtf8(line))) << line;
}

TEST_F(VindleConfig, MonitorPrintsLinesOldestFirstUntilInterrupted)
{
    EmulatorProcess emulator({"--running", "--traffic", "header", "--packet-rate", "20"});
    ConfigProcess monitor({"monitor", "--header", "--port", emulator.devicePath()});
    ASSERT_TRUE(monitor.waitForOutput(QStringLiteral("HEADER DETECTED\n"), 3));
    monitor.interrupt();
    const Finished run = monitor.finish();
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    // Each packet is the header, then its one data byte.
    const QStringList lines = run.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_GE(lines.size(), 3);
    for (int i = 1; i < lines.size(); ++i)
        EXPECT_NE(lines[i].contains("HEADER"), lines[i - 1].contains("HEADER")) << i;
}

TEST_F(VindleConfig, InterruptedStoreSaysWhatWasStored)
{
    // Every reply byte 100 ms late: the store takes over five seconds.
    EmulatorProcess emulator({"--byte-delay", "100"});
    ConfigProcess store(expand({"store", "{file}", "--port", emulator.devicePath()}, {}));
    QTest::qWait(1500);
    store.interrupt();
    const Finished run = store.finish();
    EXPECT_EQ(run.status, 130) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("Interrupted: locations 0 to ")) << run.err.toStdString();
}

// One module after another on the same device name, each unplugged once its
// line is out.
struct ProvisioningCase
{
    const char* name;
    std::vector<std::pair<QStringList, const char*>> modules; // emulator options, line
    const char* summary;
    int status;
};

TEST_F(VindleConfig, RepeatProvisionsOneModuleAfterAnother)
{
    const std::vector<ProvisioningCase> cases{
        {"two good modules",
         {{{"--device-id1", "31"}, "Module 1, Device ID #1: 31"},
          {{"--device-id1", "32"}, "Module 2, Device ID #1: 32"}},
         "2 modules stored and verified, none failed.",
         0},
        {"a refused store, then a good module",
         {{{"--wrong-echo", "7"},
           "Module 1, identity not read: the module refused the store at location 7"},
          {{"--device-id1", "32"}, "Module 2, Device ID #1: 32"}},
         "1 module stored and verified; 1 failed: module 1 (identity not read).",
         4},
        {"a module that reads back differently",
         {{{"--device-id1", "33", "--replace", "read:11:99:0"},
           "Capabilities: 1: stored, but the read-back differs at location 5"}},
         "0 modules stored and verified; 1 failed: module 1 (Device ID #1: 33",
         5},
    };
    const QString link = files_->filePath("module-link");
    for (const ProvisioningCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto plugIn = [&link](const QStringList& arguments) {
            auto emulator =
                std::make_unique<EmulatorProcess>(QStringList{"--link", link} + arguments);
            for (int waited = 0; !QFileInfo::exists(link) && waited < 5000; waited += 20)
                QTest::qWait(20);
            return emulator;
        };
        auto module = plugIn(c.modules.front().first);
        ConfigProcess provisioning(
            expand({"store", "{file}", "--verify", "--repeat", "--port", link}, {}));
        bool allLines = true;
        for (std::size_t i = 0; i < c.modules.size() && allLines; ++i) {
            if (i > 0)
                module = plugIn(c.modules[i].first);
            allLines = provisioning.waitForOutput(QString::fromUtf8(c.modules[i].second));
            module.reset();
        }
        provisioning.interrupt();
        const Finished run = provisioning.finish();
        EXPECT_TRUE(allLines) << run.out.toStdString() << run.err.toStdString();
        EXPECT_EQ(run.status, c.status) << run.err.toStdString();
        EXPECT_TRUE(run.out.contains(QString::fromUtf8(c.summary))) << run.out.toStdString();
    }
}

TEST_F(VindleConfig, FileReadFromOneModuleStoresTheSameIntoAnother)
{
    EmulatorProcess source({"--set", "1=40", "--set", "5=12", "--set", "6=200", "--set", "13=9",
                            "--set", "19=3", "--set", "41=30", "--set", "50=1"});
    const QString file = files_->filePath("source.json");
    ASSERT_EQ(ConfigProcess({"read", "-o", file, "--port", source.devicePath()}).finish().status,
              0);
    EmulatorProcess target;
    const Finished store =
        ConfigProcess({"store", file, "--verify", "--port", target.devicePath()}).finish();
    EXPECT_EQ(store.status, 0) << store.err.toStdString();
    const Finished readBack = ConfigProcess({"read", "--port", target.devicePath()}).finish();
    QFile saved(file);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(readBack.out, QString::fromUtf8(saved.readAll()));
}

} // namespace
} // namespace vindle
