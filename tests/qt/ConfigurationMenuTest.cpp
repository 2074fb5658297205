#include "qt/ConfigurationMenu.h"

#include "program/ConfigurationFile.h"
#include "program/ConfigurationStore.h"
#include "program/SetupProgram.h"
#include "program/StoreValues.h"
#include "qt/ProgramView.h"
#include "qt/core/TextFile.h"
#include "support/EmulatedModule.h"
#include "support/RecordingDialogs.h"

#include <QAction>
#include <QDir>
#include <QLayout>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace vindle {
namespace {

// The window's Open and Save on a module whose debounce is 40; the file
// chooser answers `chosen`, and every message is acknowledged at once.
class ConfigurationMenuTest : public ::testing::Test
{
protected:
    ConfigurationMenuTest() { program.start(); }

    QStringList messages() const
    {
        QStringList texts;
        for (const std::string& message : dialogs.messages)
            texts.append(QString::fromStdString(message));
        return texts;
    }
    int debounce() { return program.mainWindow().Debounce().value(); }

    QTemporaryDir folder;
    QString chosen = folder.filePath("module.json");
    test::EmulatedModule module{[] {
        emulator::EmulatorSettings settings;
        settings.configuration[1] = 40;
        return settings;
    }()};
    test::RecordingDialogs dialogs;
    SetupProgram program{module.port, module.pump, module.clock, dialogs};
    ProgramView view{program, TwipScale()};
    QWidget& mainWidget = view.binder("Main")->widget();
    ConfigurationMenu menu{program, mainWidget, dialogs,
                           [this](QWidget*, ConfigurationMenu::Purpose) { return chosen; }};
};

TEST_F(ConfigurationMenuTest, SaveThenOpenGoesThroughTheFileAndSendsNothing)
{
    EXPECT_NE(mainWidget.layout()->menuBar(), nullptr);
    EXPECT_EQ(menu.openAction().shortcut(), QKeySequence("Ctrl+O"));
    EXPECT_EQ(menu.saveAction().shortcut(), QKeySequence("Ctrl+S"));

    // What the windows show now, the person's edits included.
    program.mainWindow().Q4T().setText("77");
    menu.saveAction().trigger();
    LoadedText saved = loadTextFile(chosen);
    EXPECT_EQ(parseConfigurationFile(saved.text).record[1], 40);
    EXPECT_EQ(parseConfigurationFile(saved.text).record[5], 77);

    const std::size_t sent = module.port.written().size();
    const std::string from = "\"value\": 40";
    saved.text.replace(saved.text.find(from), from.size(), "\"value\": 77");
    ASSERT_EQ(saveTextFile(chosen, saved.text), QString());
    menu.openAction().trigger();
    EXPECT_EQ(debounce(), 77);
    EXPECT_EQ(module.port.written().size(), sent);
    EXPECT_TRUE(messages().isEmpty()) << messages().join("\n").toStdString();
}

TEST_F(ConfigurationMenuTest, WhatGoesWrongIsSaidAndChangesNothing)
{
    const auto openSays = [this](const QString& message) {
        dialogs.messages.clear();
        menu.openAction().trigger();
        ASSERT_EQ(messages().size(), 1);
        EXPECT_TRUE(messages().front().startsWith(message)) << messages().front().toStdString();
        EXPECT_EQ(debounce(), 40);
    };
    openSays("Cannot open " + chosen);
    ASSERT_EQ(saveTextFile(chosen, "{"), QString());
    openSays("The file is not valid JSON: it ends in the middle of its text, at line 1, column 2.");

    // A text field the store refuses refuses the save, before any file is chosen.
    QFile::remove(chosen);
    dialogs.messages.clear();
    program.mainWindow().Keys(0).setText("x");
    program.mainWindow().Keys(2).setText("y");
    menu.saveAction().trigger();
    EXPECT_EQ(messages(), QStringList{QString::fromStdString(badFieldMessage(6, "x"))});
    EXPECT_FALSE(QFile::exists(chosen));

    // Cancelling a dialog does nothing.
    dialogs.messages.clear();
    chosen.clear();
    menu.openAction().trigger();
    EXPECT_TRUE(messages().isEmpty());
}

TEST_F(ConfigurationMenuTest, OpeningValuesTheWindowsChangedNamesThem)
{
    // A transmitter this module (RS-232 only) does not have.
    menu.saveAction().trigger();
    LoadedText saved = loadTextFile(chosen);
    ConfigurationFileContents contents = parseConfigurationFile(saved.text);
    contents.record.values[9] = 2;
    contents.record.values[20] = 1;
    ASSERT_EQ(saveTextFile(chosen, formatConfigurationFile(contents)), QString());
    menu.openAction().trigger();
    ASSERT_EQ(messages().size(), 1);
    EXPECT_TRUE(messages().front().contains(
        "Location 9 (transmitter fitted to this module): 2 in the file, 0 now."))
        << messages().front().toStdString();
}

// saveTextFile while files may grow to `bytes` at most: a longer write fails
// as on a full disk.
QString saveWithFileSizeLimit(const QString& path, std::string_view text, rlim_t bytes)
{
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit limit = saved;
    limit.rlim_cur = bytes;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &limit);
    const QString error = saveTextFile(path, text);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    return error;
}

TEST_F(ConfigurationMenuTest, ASaveThatFailsSaysSoAndLeavesTheOldFile)
{
    // A file of a configuration's size, and one larger than any buffer.
    for (const std::size_t size : {std::size_t{3000}, std::size_t{64 * 1024}}) {
        ASSERT_EQ(saveTextFile(chosen, "old\n"), QString());
        const QString error = saveWithFileSizeLimit(chosen, std::string(size, 'x'), 1024);
        EXPECT_TRUE(error.contains("module.json")) << size << error.toStdString();
        EXPECT_EQ(loadTextFile(chosen).text, "old\n") << size;
        EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{"module.json"});
    }

    chosen = folder.filePath("missing/module.json");
    menu.saveAction().trigger();
    ASSERT_EQ(messages().size(), 1);
    EXPECT_TRUE(messages().front().startsWith("Cannot write " + chosen));
}

} // namespace
} // namespace vindle
