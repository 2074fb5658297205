// The data monitor as the desktop draws it: its lines written again in hex
// and with their times, what Find marks selected and in view, its keys, what
// it has a screen reader say, and its files.

#include "qt/MonitorFileDialogs.h"
#include "qt/WindowBinder.h"
#include "ui/model/Dialogs.h"
#include "ui/monitor/MonitorWindow.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <gtest/gtest.h>

namespace vindle {
namespace {

using namespace std::chrono;

TEST(MonitorView, LinesFindKeysAndAnnouncementsAsThePersonMeetsThem)
{
    MonitorWindow monitor;
    WindowBinder binder(monitor, TwipScale());
    monitor.Form_Load();
    const auto at = sys_days{December / 10 / 2026} + 3h;
    for (const std::uint8_t b : {254, 11, 22, 254, 11, 7})
        monitor.AddLine({at, b == 254 ? MonitorLine::Kind::Header : MonitorLine::Kind::Byte, b});
    monitor.FlushLines();
    auto& text = *qobject_cast<QPlainTextEdit*>(binder.widgetFor("Text1"));
    auto& find = *qobject_cast<QLineEdit*>(binder.widgetFor("FindText"));

    // Hex writes every line again, old ones too.
    qobject_cast<QCheckBox*>(binder.widgetFor("HexCheck"))->click();
    EXPECT_EQ(text.document()->blockCount(), 6);
    EXPECT_EQ(text.document()->lastBlock().text().toStdString(),
              "11111110>     FE     <HEADER DETECTED");

    // Ctrl+F comes to Find from anywhere in the window; Enter finds, F3 goes
    // on, and the lines found are selected.
    binder.widget().activateWindow();
    QApplication::setActiveWindow(&binder.widget());
    binder.widgetFor("PauseButton")->setFocus();
    QTest::keyClick(binder.widgetFor("PauseButton"), Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(QApplication::focusWidget(), &find);
    QTest::keyClicks(&find, "FE 0B");
    QTest::keyClick(&find, Qt::Key_Return);
    EXPECT_EQ(text.textCursor().selectedText().toStdString(),
              std::string("00001011>     0B  ") + "\u2029" +
                  "11111110>     FE     <HEADER DETECTED");
    QTest::keyClick(&find, Qt::Key_F3);
    EXPECT_EQ(monitor.FindStatus().caption(), "Lines 5 to 6 of 6");
    // What a search found stays selected as new lines come on top.
    monitor.AddLine({at, MonitorLine::Kind::Byte, 9});
    monitor.FlushLines();
    EXPECT_EQ(text.textCursor().blockNumber(), 5);
    EXPECT_TRUE(text.textCursor().hasSelection());

    // Pause and Resume are said (an alert of a label that holds the words,
    // which a screen reader reads); the button names what it does next.
    const auto said = [&binder] {
        const auto* announcer = binder.widget().findChild<QLabel*>("Announcer");
        return announcer == nullptr ? QString() : announcer->text();
    };
    EXPECT_EQ(said(), "Lines 5 to 6 of 6");
    auto& pause = *qobject_cast<QPushButton*>(binder.widgetFor("PauseButton"));
    QTest::mouseClick(&pause, Qt::LeftButton);
    EXPECT_EQ(pause.text(), "Resume");
    EXPECT_EQ(said(), "Paused: what comes is kept until Resume");
    QTest::mouseClick(&pause, Qt::LeftButton);
    EXPECT_EQ(pause.text(), "Pause");
    EXPECT_EQ(said(), "Resumed with the 0 lines that came while paused");
    QAccessibleInterface* const announced =
        QAccessible::queryAccessibleInterface(binder.widget().findChild<QLabel*>("Announcer"));
    ASSERT_NE(announced, nullptr);
    EXPECT_EQ(announced->text(QAccessible::Name), said());
}

// Save Lines… replaces its file whole; a capture appends whole lines to its
// file, after what it held; a cancelled dialog does nothing.
TEST(MonitorView, TheFilesGoWhereThePersonChose)
{
    class Quiet final : public Dialogs
    {
    public:
        void showMessage(const std::string& text) override { said.push_back(text); }
        std::vector<std::string> said;
    } dialogs;
    QTemporaryDir folder;
    QString chosen = folder.filePath("lines.txt");
    MonitorFileDialogs files(dialogs, [&chosen](MonitorFileDialogs::Purpose) { return chosen; });
    std::string savedAs;
    files.saveLines("a\nb\n", [&savedAs](const std::string& name) { savedAs = name; });
    EXPECT_EQ(savedAs, "lines.txt");
    QFile lines(chosen);
    ASSERT_TRUE(lines.open(QIODevice::ReadOnly));
    EXPECT_EQ(lines.readAll(), "a\nb\n");

    chosen = folder.filePath("capture.jsonl");
    {
        QFile before(chosen);
        ASSERT_TRUE(before.open(QIODevice::WriteOnly));
        before.write("{\"old\": 1}\n");
    }
    std::unique_ptr<CaptureFile> capture;
    files.chooseCapture([&](const std::string& name, std::unique_ptr<CaptureFile> file) {
        EXPECT_EQ(name, "capture.jsonl");
        capture = std::move(file);
    });
    ASSERT_NE(capture, nullptr);
    EXPECT_TRUE(capture->append("{\"a\": 1}\n"));
    EXPECT_TRUE(capture->append("{\"b\": 2}\n"));
    QFile captured(chosen);
    ASSERT_TRUE(captured.open(QIODevice::ReadOnly));
    EXPECT_EQ(captured.readAll(), "{\"old\": 1}\n{\"a\": 1}\n{\"b\": 2}\n");

    chosen = folder.path();
    capture.reset();
    files.chooseCapture(
        [&](const std::string&, std::unique_ptr<CaptureFile> file) { capture = std::move(file); });
    EXPECT_EQ(capture, nullptr);
    ASSERT_EQ(dialogs.said.size(), 1U);
    EXPECT_NE(dialogs.said[0].find("is not a file that a capture can go into"), std::string::npos);
    chosen.clear();
    savedAs.clear();
    files.saveLines("c\n", [&savedAs](const std::string& name) { savedAs = name; });
    EXPECT_TRUE(savedAs.empty());
}

} // namespace
} // namespace vindle
