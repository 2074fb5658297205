// The window that lets a person choose the port when the program's own does
// not open, driven through its accessibility interfaces as assistive
// technology would.

#include "EmulatorProcess.h"
#include "qt/DesktopStart.h"
#include "qt/MessageBox.h"

#include <QAccessible>
#include <QApplication>
#include <QLineEdit>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace vindle {
namespace {

using test::EmulatorProcess;

const QString kMissing = QStringLiteral("/dev/vindle-missing-port");

// The first accessible object under `root` with `role` whose name starts with `name`.
QAccessibleInterface* findAccessible(QAccessibleInterface* root, QAccessible::Role role,
                                     const QString& name)
{
    if (root->role() == role && root->text(QAccessible::Name).startsWith(name))
        return root;
    for (int i = 0; i < root->childCount(); ++i)
        if (QAccessibleInterface* found = findAccessible(root->child(i), role, name))
            return found;
    return nullptr;
}

// What the person does in the window, once it is shown.
struct Person
{
    QDialog* window = nullptr;

    QAccessibleInterface& find(QAccessible::Role role, const QString& name) const
    {
        QAccessibleInterface* found =
            findAccessible(QAccessible::queryAccessibleInterface(window), role, name);
        if (found == nullptr)
            throw std::runtime_error("nothing accessible named " + name.toStdString());
        return *found;
    }
    void type(const QString& device) const
    {
        QAccessibleInterface& field = find(QAccessible::EditableText, "Device to open");
        field.editableTextInterface()->replaceText(0, field.textInterface()->characterCount(),
                                                   device);
    }
    // Presses the button and lets its click (an animated one) happen.
    void press(const QString& name) const
    {
        QAccessibleInterface& button = find(QAccessible::Button, name);
        QSignalSpy clicked(button.object(), SIGNAL(clicked(bool)));
        button.actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        EXPECT_TRUE(clicked.wait());
    }
    void key(Qt::Key key) const
    {
        QTest::keyClick(window->focusWidget() != nullptr ? window->focusWidget() : window, key);
    }
    QString reason() const
    {
        return find(QAccessible::StaticText, "Cannot").text(QAccessible::Name);
    }
};

struct Case
{
    const char* what;
    // Empty: the port was named on the command line, and no window comes.
    std::function<void(const Person&, const QString& emulated)> act;
    int status;
    bool read; // the start-up read the emulated module
};

TEST(PortChooser, APersonChoosesAnotherPortOrQuits)
{
    MessageBox::setAutoAnswer(QMessageBox::Ok);
    const Case cases[] = {
        {"typing a pseudo-terminal and pressing Open",
         [](const Person& p, const QString& device) {
             p.type(device);
             p.press("Open");
         },
         0, true},
        {"a device that fails, then a pseudo-terminal and Enter",
         [](const Person& p, const QString& device) {
             p.type("/dev/vindle-other-missing");
             p.press("Open");
             EXPECT_TRUE(p.reason().contains("/dev/vindle-other-missing"));
             p.type(device);
             p.key(Qt::Key_Return);
         },
         0, true},
        {"Try without a module", [](const Person& p, const QString&) { p.press("Try without"); }, 0,
         true},
        {"Quit", [](const Person& p, const QString&) { p.press("Quit"); }, 1, false},
        {"Escape", [](const Person& p, const QString&) { p.key(Qt::Key_Escape); }, 1, false},
        {"--port", {}, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // A run that ended before reaching the application's event loop left
        // its exit pending, which would end the next loop at once.
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        QCoreApplication::exec();
        EmulatorProcess emulator({"--set", "5=77"});
        bool shown = false;
        bool read = false;
        QTimer driver;
        QObject::connect(&driver, &QTimer::timeout, [&] {
            QWidget* const modal = QApplication::activeModalWidget();
            if (auto* window = qobject_cast<QDialog*>(modal); window != nullptr && !shown) {
                shown = true;
                const Person person{window};
                EXPECT_TRUE(person.reason().contains(kMissing)) << person.reason().toStdString();
                person.find(QAccessible::List, "Serial ports on this computer");
                c.act(person, emulator.devicePath());
            }
            for (QWidget* top : QApplication::topLevelWidgets()) {
                // A module that is not reached leads to the data monitor.
                if (top->objectName() == "RS232Packets" && top->isVisible())
                    top->close();
                if (top->objectName() != "Main" || !top->isVisible() || !top->isEnabled())
                    continue;
                if (auto* q4t = top->findChild<QLineEdit*>("Q4T"); q4t && q4t->text() == "77") {
                    read = true;
                    top->close();
                }
            }
        });
        driver.start(20);
        const int status = runDesktop({kMissing, !c.act, [&] { return emulator.devicePath(); }});
        EXPECT_EQ(shown, static_cast<bool>(c.act));
        EXPECT_EQ(status, c.status);
        EXPECT_EQ(read, c.read);
    }
    MessageBox::setAutoAnswer(std::nullopt);
}

// The window's picture for the gallery (scripts/window-gallery.sh).
TEST(PortChooser, DISABLED_Gallery)
{
    const QString directory = qEnvironmentVariable("VINDLE_GALLERY_DIR");
    ASSERT_FALSE(directory.isEmpty());
    if (!qEnvironmentVariableIsEmpty("VINDLE_GALLERY_SUFFIX"))
        GTEST_SKIP() << "one picture is enough";
    const QString device = QStringLiteral("/dev/ttyS8");
    QtSerialPort port;
    ASSERT_FALSE(port.open(device));
    PortChooser chooser(port, device, [] { return QString(); });
    QTimer::singleShot(600, [&] {
        chooser.move(0, 0);
        QProcess::execute("import", {"-window", QString::number(chooser.winId()),
                                     directory + "/PortChooser.png"});
        chooser.reject();
    });
    EXPECT_FALSE(chooser.choose());
}

} // namespace
} // namespace vindle
