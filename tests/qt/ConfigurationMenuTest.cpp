#include "qt/ConfigurationMenu.h"

#include "program/ConfigurationFile.h"
#include "program/ConfigurationStore.h"
#include "program/SetupProgram.h"
#include "qt/MessageBox.h"
#include "qt/ProgramView.h"
#include "qt/QtDialogs.h"
#include "qt/core/TextFile.h"
#include "support/EmulatedModule.h"

#include <QAction>
#include <QLayout>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace vindle {
namespace {

class ConfigurationMenuTest : public ::testing::Test
{
protected:
    ConfigurationMenuTest()
    {
        MessageBox::setAutoAnswer(QMessageBox::Ok);
        MessageBox::clearAnsweredTexts();
        ConfigurationMenu::setFileChooser(
            [this](QWidget*, ConfigurationMenu::Purpose) { return chosen; });
        program.start();
    }
    ~ConfigurationMenuTest() override
    {
        ConfigurationMenu::setFileChooser({});
        MessageBox::setAutoAnswer(std::nullopt);
    }

    QStringList messages() const { return MessageBox::answeredTexts(); }

    QTemporaryDir folder;
    QString chosen = folder.filePath("module.json");
    static emulator::EmulatorSettings debounce40()
    {
        emulator::EmulatorSettings settings;
        settings.configuration[1] = 40;
        return settings;
    }

    test::EmulatedModule module{debounce40()};
    QtDialogs dialogs;
    SetupProgram program{module.port, module.pump, module.clock, dialogs};
    ProgramView view{program, TwipScale()};
    QWidget& mainWidget = view.binder("Main")->widget();
    ConfigurationMenu menu{program, mainWidget};
};

TEST_F(ConfigurationMenuTest, SaveThenOpenGoesThroughTheFileAndSendsNothing)
{
    EXPECT_NE(mainWidget.layout()->menuBar(), nullptr);
    EXPECT_EQ(menu.openAction().text(), "Open Configuration…");
    EXPECT_EQ(menu.openAction().shortcut(), QKeySequence("Ctrl+O"));
    EXPECT_EQ(menu.saveAction().text(), "Save Configuration As…");
    EXPECT_EQ(menu.saveAction().shortcut(), QKeySequence("Ctrl+S"));

    menu.saveAction().trigger();
    LoadedText saved = loadTextFile(chosen);
    ASSERT_EQ(saved.error, QString());
    EXPECT_EQ(parseConfigurationFile(saved.text).record[1], 40);

    const std::size_t sent = module.port.written().size();
    const std::string from = "\"value\": 40";
    saved.text.replace(saved.text.find(from), from.size(), "\"value\": 77");
    ASSERT_EQ(saveTextFile(chosen, saved.text), QString());
    menu.openAction().trigger();
    EXPECT_EQ(program.mainWindow().Debounce().value(), 77);
    EXPECT_EQ(module.port.written().size(), sent);
    EXPECT_TRUE(messages().isEmpty()) << messages().join("\n").toStdString();
}

TEST_F(ConfigurationMenuTest, WhatGoesWrongIsSaidAndChangesNothing)
{
    struct Case
    {
        const char* what;
        std::optional<std::string> file; // none: no file there
        QString message;
    };
    const std::string valid = formatConfigurationFile(program.configurationToSave());
    std::string unshowable = valid;
    const std::string mode = "\"mode of operation\",\n      \"value\": 0";
    unshowable.replace(unshowable.find(mode), mode.size(),
                       "\"mode of operation\",\n      \"value\": 9");
    const Case cases[] = {
        {"missing", std::nullopt, "Cannot open " + chosen},
        {"broken", "{", "The file is not valid JSON: parse error at line 1, column 2"},
        {"unshowable", unshowable,
         "Location \"10\" (mode of operation) holds 9, which the windows cannot show."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(chosen);
        if (c.file) {
            ASSERT_EQ(saveTextFile(chosen, *c.file), QString());
        }
        MessageBox::clearAnsweredTexts();
        menu.openAction().trigger();
        ASSERT_EQ(messages().size(), 1);
        EXPECT_TRUE(messages().front().startsWith(c.message)) << messages().front().toStdString();
        EXPECT_EQ(program.mainWindow().Debounce().value(), 40);
    }

    // A text field the store refuses refuses the save, before any file is chosen.
    QFile::remove(chosen);
    MessageBox::clearAnsweredTexts();
    program.mainWindow().Keys(0).setText("x");
    menu.saveAction().trigger();
    EXPECT_EQ(messages(),
              QStringList{QString::fromStdString(ConfigurationStore::badFieldMessage(6, "x"))});
    EXPECT_FALSE(QFile::exists(chosen));

    // Cancelling a dialog does nothing.
    MessageBox::clearAnsweredTexts();
    chosen.clear();
    menu.openAction().trigger();
    EXPECT_TRUE(messages().isEmpty());
}

} // namespace
} // namespace vindle
