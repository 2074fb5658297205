// The rendered windows of a whole run, against the emulated module on an
// in-memory line in simulated time: what the user sees and does reaches the
// same models and procedures as in the program.

#include "qt/WindowBinder.h"

#include "config/MemoryMap.h"
#include "program/ConfigurationReader.h"
#include "program/ConfigurationStore.h"
#include "program/LocationControls.h"
#include "program/SetupProgram.h"
#include "qt/ConfigurationMenu.h"
#include "qt/MessageBox.h"
#include "qt/MonitorFileDialogs.h"
#include "qt/ProgramIdentity.h"
#include "qt/ProgramView.h"
#include "qt/QtDialogs.h"
#include "support/EmulatedModule.h"
#include "ui/model/AccessibleName.h"
#include "ui/model/ReadingOrder.h"

#include <QAbstractSlider>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <QWindow>
#include <functional>
#include <gtest/gtest.h>
#include <set>

namespace vindle {
namespace {

class RenderedRun : public ::testing::Test
{
protected:
    void SetUp() override
    {
        MessageBox::setAutoAnswer(QMessageBox::Ok);
        MessageBox::clearAnsweredTexts();
    }
    void TearDown() override { MessageBox::setAutoAnswer(std::nullopt); }

    void startWith(emulator::EmulatorSettings settings, const TwipScale& scale = TwipScale())
    {
        module_ = std::make_unique<test::EmulatedModule>(std::move(settings));
        program_ =
            std::make_unique<SetupProgram>(module_->port, module_->pump, module_->clock, dialogs_);
        view_ = std::make_unique<ProgramView>(*program_, scale);
        program_->start();
    }

    template <class W> W& widget(const char* window, const char* name, int index = kNoIndex)
    {
        WindowBinder* const binder = view_->binder(window);
        if (binder == nullptr)
            throw std::runtime_error(std::string("no window ") + window);
        auto* found = qobject_cast<W*>(binder->widgetFor(name, index));
        if (found == nullptr)
            throw std::runtime_error(std::string("no widget ") + name);
        return *found;
    }
    QWidget& window(const char* name) { return view_->binder(name)->widget(); }

    // Ends the run as soon as `window` is shown: the data monitor would
    // otherwise receive for ever.
    void endWhenShown(const char* name)
    {
        program_->forEachWindow([this, name](Window& window) {
            if (window.name() == name)
                window.addListener([this](const Window& shown, Window::Change change) {
                    if (change == Window::Change::Visible && shown.isVisible())
                        program_->end();
                });
        });
    }

    QtDialogs dialogs_;
    std::unique_ptr<test::EmulatedModule> module_;
    std::unique_ptr<SetupProgram> program_;
    std::unique_ptr<ProgramView> view_;
};

TEST_F(RenderedRun, StartUpFillsTheFourConfigurationWindowsFromTheModule)
{
    emulator::EmulatorSettings settings;
    const std::vector<std::pair<int, int>> stored{{1, 40},  {2, 4},   {5, 77},  {7, 9},  {14, 1},
                                                  {24, 12}, {29, 60}, {30, 90}, {45, 30}};
    for (const auto& [location, value] : stored)
        settings.configuration[location] = static_cast<std::uint8_t>(value);
    startWith(settings);

    EXPECT_TRUE(window("Main").isVisible());
    EXPECT_FALSE(window("Working").isVisible());
    EXPECT_EQ(widget<QAbstractSlider>("Main", "Debounce").value(), 40);
    EXPECT_EQ(widget<QLabel>("Main", "Label9").text(), "40");
    EXPECT_EQ(widget<QLineEdit>("Main", "Q4T").text(), "77");
    EXPECT_EQ(widget<QLineEdit>("Main", "Keys", 1).text(), "9");
    EXPECT_TRUE(widget<QRadioButton>("Main", "RSDevice", 1).isChecked());
    EXPECT_FALSE(widget<QRadioButton>("Main", "RSDevice", 0).isChecked());
    EXPECT_EQ(widget<QAbstractSlider>("Advanced", "RSBank").value(), 5);
    EXPECT_EQ(widget<QAbstractSlider>("Advanced", "ADSquelch").value(), 12);
    EXPECT_EQ(widget<QAbstractSlider>("Limiter", "SetLowerLimit", 2).value(), 60);
    EXPECT_EQ(widget<QAbstractSlider>("Limiter", "SetUpperLimit", 2).value(), 90);
    EXPECT_EQ(widget<QLineEdit>("MotionTimes", "MotionMin", 4).text(), "30");
    EXPECT_EQ(window("Main").windowTitle().toStdString(), program_->mainWindow().title());
}

TEST_F(RenderedRun, WidgetsCarryTheNamesOfWhatLabelsThem)
{
    startWith({});
    const struct
    {
        const char* window;
        const char* name;
        int index;
        const char* accessibleName;
    } cases[]{
        {"Main", "Q4T", kNoIndex, "Q4T Device Number:"},
        {"Main", "Keys", 0, "Wireless Keys: 1"},
        {"Main", "Keys", 2, "Wireless Keys: 3"},
        {"Main", "Debounce", kNoIndex, "Select a Debounce Time for Digital Inputs (Default is 25)"},
        {"Main", "ReadSettings", kNoIndex, "Read Configuration"},
        {"Advanced", "ADSquelch", kNoIndex, "A/D Squelch"},
        {"Limiter", "SetLowerLimit", 0, "Lower Limit = 75   1.47 Volts"},
        {"Working", "Level", kNoIndex, "Reading Configuration from Controller..."},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(widget<QWidget>(c.window, c.name, c.index).accessibleName().toStdString(),
                  c.accessibleName)
            << c.name << "(" << c.index << ")";
    }
}

TEST_F(RenderedRun, ChoosingMode1ShowsTheLimiterAndTheRulesReachTheWidgets)
{
    startWith({});
    ASSERT_FALSE(window("Limiter").isVisible());
    QTest::mouseClick(&widget<QRadioButton>("Main", "Mode", 1), Qt::LeftButton);

    EXPECT_TRUE(program_->mainWindow().Mode().isSelected(1));
    EXPECT_TRUE(window("Limiter").isVisible());
    EXPECT_TRUE(widget<QRadioButton>("Main", "Frequency", 2).isChecked());
    EXPECT_FALSE(widget<QRadioButton>("Main", "Frequency", 0).isEnabled());
    EXPECT_EQ(widget<QAbstractSlider>("Main", "DInputs").maximum(), 0);
    EXPECT_FALSE(widget<QWidget>("Main", "Frame8").isVisibleTo(&window("Main")));

    QTest::mouseClick(&widget<QRadioButton>("Main", "Mode", 0), Qt::LeftButton);
    EXPECT_FALSE(window("Limiter").isVisible());
    EXPECT_TRUE(widget<QWidget>("Main", "Frame8").isVisibleTo(&window("Main")));
}

TEST_F(RenderedRun, MovingALimitShowsTheOrderingRuleOnBothSliders)
{
    startWith({});
    auto& lower = widget<QAbstractSlider>("Limiter", "SetLowerLimit", 0);
    auto& upper = widget<QAbstractSlider>("Limiter", "SetUpperLimit", 0);
    upper.setValue(100);
    // Dragging the lower thumb past the upper one drags the upper along.
    lower.setSliderDown(true);
    lower.setSliderPosition(200);
    EXPECT_EQ(upper.value(), 201);
    lower.setSliderDown(false);
    EXPECT_EQ(lower.value(), 200);
    EXPECT_EQ(widget<QLabel>("Limiter", "Label2", 0).text(), "Upper Limit = 201   3.94 Volts");

    // Pulling the upper one below the lower one sends it back.
    upper.triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(upper.value(), 201);
    EXPECT_EQ(program_->windows().limiter().SetUpperLimit(0).value(), 201);
}

TEST_F(RenderedRun, StoreLeavesTheModuleHoldingWhatTheWindowsShow)
{
    startWith({});
    QTest::mouseClick(&widget<QRadioButton>("Main", "RSDevice", 1), Qt::LeftButton);
    QTest::mouseClick(&widget<QRadioButton>("Main", "Baud", 6), Qt::LeftButton);
    widget<QAbstractSlider>("Main", "Debounce").triggerAction(QAbstractSlider::SliderPageStepAdd);
    auto& q4t = widget<QLineEdit>("Main", "Q4T");
    q4t.selectAll();
    QTest::keyClicks(&q4t, "123");
    QTest::mouseClick(&widget<QCheckBox>("Main", "LRKeys"), Qt::LeftButton);

    QTest::mouseClick(&widget<QPushButton>("Main", "StoreSettings"), Qt::LeftButton);
    module_->settle();

    EXPECT_TRUE(MessageBox::answeredTexts().isEmpty())
        << MessageBox::answeredTexts().join("\n").toStdString();
    const auto& memory = module_->module.configuration();
    EXPECT_EQ(memory[5], 123);
    EXPECT_EQ(memory[1], 26);
    EXPECT_EQ(memory[15], 6);
    for (const LocationInfo& info : memoryMap()) {
        EXPECT_EQ(std::optional<int>(memory[info.location]),
                  readLocation(program_->windows(), info))
            << "location " << info.location;
    }
}

TEST_F(RenderedRun, TestConfigurationLeavesOnlyTheMonitorShowingTheRunningBytes)
{
    startWith({});
    program_->forEachWindow([this](Window& window) {
        if (auto* monitor = dynamic_cast<MonitorWindow*>(&window)) {
            monitor->Text1().addListener([this](const Control& text) {
                if (static_cast<const LineDisplay&>(text).linesAdded() >= 10)
                    program_->end();
            });
        }
    });
    QTest::mouseClick(&widget<QPushButton>("Main", "TestConfiguration"), Qt::LeftButton);

    for (const char* hidden : {"Main", "Advanced", "MotionTimes", "Limiter", "Working"})
        EXPECT_FALSE(window(hidden).isVisible()) << hidden;
    EXPECT_TRUE(window("RS232Packets").isVisible());
    const QString shown = widget<QPlainTextEdit>("RS232Packets", "Text1").toPlainText();
    EXPECT_TRUE(
        shown.startsWith(QString::fromStdString(program_->monitor().Text1().lines().front())));
    EXPECT_TRUE(shown.contains("11111110>     254   <HEADER DETECTED")) << shown.toStdString();
}

TEST_F(RenderedRun, ASilentModuleEndsInTheMessageAndTheMonitor)
{
    emulator::EmulatorSettings settings;
    settings.silent = true;
    module_.reset();
    module_ = std::make_unique<test::EmulatedModule>(settings);
    program_ =
        std::make_unique<SetupProgram>(module_->port, module_->pump, module_->clock, dialogs_);
    view_ = std::make_unique<ProgramView>(*program_, TwipScale());
    endWhenShown("RS232Packets");
    program_->start();

    EXPECT_EQ(MessageBox::answeredTexts(),
              QStringList{QString::fromLatin1(ConfigurationReader::kNoCommunication)});
    EXPECT_TRUE(window("RS232Packets").isVisible());
    EXPECT_FALSE(window("Main").isVisible());
}

TEST_F(RenderedRun, PointerMovesWriteTheContextHelp)
{
    startWith({});
    QWidget& main = window("Main");
    main.show();
    auto& option = widget<QRadioButton>("Main", "Mode", 2);
    QTest::mouseMove(&option, QPoint(5, option.height() / 2));
    EXPECT_EQ(widget<QLabel>("Main", "HELP").text().left(40),
              "This mode of operation allows the vindle");
}

QAccessibleInterface& accessible(QWidget& widget)
{
    QAccessibleInterface* const found = QAccessible::queryAccessibleInterface(&widget);
    if (found == nullptr)
        throw std::runtime_error("no accessible interface");
    return *found;
}

TEST_F(RenderedRun, EveryWayOfChangingAControlReachesTheModelOnce)
{
    startWith({});
    MainWindow& main = program_->mainWindow();
    const int limiterRaised = program_->windows().limiter().frontRequests();
    const int motion = main.MotionInputs().value();
    window("Main").show();
    window("Main").activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window("Main")));
    const auto toggle = [this](const char* name, int index = kNoIndex) {
        accessible(widget<QWidget>("Main", name, index))
            .actionInterface()
            ->doAction(QAccessibleActionInterface::toggleAction());
    };

    toggle("MotionInputs");
    EXPECT_NE(main.MotionInputs().value(), motion);
    EXPECT_TRUE(window("MotionTimes").isVisible());
    toggle("Mode", 1);
    EXPECT_TRUE(main.Mode().isSelected(1));
    EXPECT_TRUE(window("Limiter").isVisible());
    EXPECT_EQ(program_->windows().limiter().frontRequests(), limiterRaised + 1);
    auto& mode = widget<QRadioButton>("Main", "Mode", 1);
    mode.setFocus();
    QTest::keyClick(&mode, Qt::Key_Down);
    EXPECT_TRUE(main.Mode().isSelected(2));
    EXPECT_FALSE(window("Limiter").isVisible());
    auto& text = accessible(widget<QLineEdit>("Main", "Q4T"));
    text.editableTextInterface()->replaceText(0, text.textInterface()->characterCount(), "55");
    EXPECT_EQ(main.Q4T().text(), "55");
    accessible(widget<QAbstractSlider>("Main", "Debounce")).valueInterface()->setCurrentValue(40);
    EXPECT_EQ(main.DebounceValue().caption(), "40");

    // What the windows show is what the module gets.
    QTest::mouseClick(&widget<QRadioButton>("Main", "Mode", 0), Qt::LeftButton);
    QTest::mouseClick(&widget<QPushButton>("Main", "StoreSettings"), Qt::LeftButton);
    module_->settle();
    EXPECT_TRUE(MessageBox::answeredTexts().isEmpty());
    EXPECT_EQ(module_->module.configuration()[5], 55);
    EXPECT_EQ(module_->module.configuration()[1], 40);

    // Text the store cannot send is refused with a message, not replaced.
    text.editableTextInterface()->replaceText(0, 2, "abc");
    QTest::mouseClick(&widget<QPushButton>("Main", "StoreSettings"), Qt::LeftButton);
    module_->settle();
    EXPECT_EQ(MessageBox::answeredTexts().size(), 1);
    EXPECT_EQ(module_->module.configuration()[5], 55);
}

TEST_F(RenderedRun, WhatIsAnnouncedFollowsWhatIsShown)
{
    startWith({});
    QWidget& main = window("Main");
    QWidget& panel = widget<QWidget>("Main", "VersionFrame");
    QTest::mouseClick(&widget<QPushButton>("Main", "GetVersion"), Qt::LeftButton);
    // The identity panel alone shows where it stands, over the help.
    ASSERT_TRUE(panel.isVisibleTo(&main));
    const QRect area(panel.mapTo(&main, QPoint(0, 0)), panel.size());
    EXPECT_EQ(main.grab(area).toImage(), panel.grab().toImage());
    widget<QAbstractSlider>("Main", "Debounce").setValue(40);
    QTest::mouseClick(&widget<QRadioButton>("Main", "Frequency", 0), Qt::LeftButton);
    program_->mainWindow().Interval().setValue(7);
    QTest::mouseClick(&widget<QRadioButton>("Main", "Mode", 1), Qt::LeftButton);
    QTest::mouseClick(&widget<QPushButton>("Limiter", "Command1"), Qt::LeftButton);
    program_->progress().setText("Storing");

    int labels = 0;
    for (const char* name : {"Main", "Advanced", "MotionTimes", "Limiter", "Working"}) {
        for (QLabel* label : window(name).findChildren<QLabel*>()) {
            if (label->objectName().isEmpty())
                continue;
            ++labels;
            EXPECT_EQ(accessible(*label).text(QAccessible::Name), label->text())
                << label->objectName().toStdString();
            // A label sized by its caption shows all of it.
            if (!label->wordWrap()) {
                EXPECT_GE(label->width(), label->sizeHint().width())
                    << label->objectName().toStdString();
            }
        }
    }
    EXPECT_GT(labels, 50);
    EXPECT_EQ(widget<QLabel>("Main", "VDAT2", 0).text(), "17");
    EXPECT_EQ(widget<QLabel>("Main", "Label9").text(), "40");
}

TEST_F(RenderedRun, OnASmallScreenOnlyTheOptionsScroll)
{
    startWith({});
    // The menu bar takes its height above the designed area. Made after the
    // start-up showed the window, it is shown by hand.
    const ConfigurationMenu menu(*program_, window("Main"), dialogs_);
    window("Main").layout()->menuBar()->show();
    QTest::mouseClick(&widget<QRadioButton>("Main", "Mode", 1), Qt::LeftButton);
    for (const char* name : {"Main", "Limiter"}) {
        WindowBinder& binder = *view_->binder(name);
        QWidget& top = binder.widget();
        top.show();
        binder.fitInto(QSize(4000, 4000));
        const QSize whole = top.size();
        // Far too low, a little too low (by less than the menu bar), high enough.
        for (const int height : {whole.height() * 2 / 3, whole.height() - 5, 4000}) {
            const bool scrolls = height < whole.height();
            const QSize room(whole.width() * 2, height);
            binder.fitInto(room);
            EXPECT_LE(top.height(), room.height()) << name;
            EXPECT_EQ(top.findChild<QScrollArea*>()->verticalScrollBar()->maximum() > 0, scrolls)
                << name;
            for (const char* footer : {"Command1", "ReadSettings", "GetVersion", "HELP"}) {
                QWidget* const shown = binder.widgetFor(footer);
                if (shown == nullptr)
                    continue;
                // Whole, inside the window and outside the part that scrolls.
                const QRect at(shown->mapTo(&top, QPoint(0, 0)), shown->size());
                EXPECT_TRUE(top.rect().contains(at)) << name << " " << footer;
                EXPECT_FALSE(top.findChild<QScrollArea*>()->isAncestorOf(shown)) << footer;
            }
        }
    }
}

TEST_F(RenderedRun, KeyboardFocusAndWheelActAsAPersonExpects)
{
    startWith({});
    QWidget& main = window("Main");
    main.show();
    view_->binder("Main")->fitInto(QSize(4000, 4000));
    auto& help = widget<QLabel>("Main", "HELP");

    // Tab goes through all of a frame before the frame beside it: no frame
    // of the window is entered twice.
    std::vector<QString> frames;
    for (QWidget* at = main.nextInFocusChain(); at != &main; at = at->nextInFocusChain()) {
        QWidget* frame = nullptr;
        for (QWidget* up = at->parentWidget(); up != &main; up = up->parentWidget())
            frame = qobject_cast<QGroupBox*>(up) != nullptr ? up : frame;
        if (frame != nullptr && (at->focusPolicy() & Qt::TabFocus) != 0 &&
            (frames.empty() || frames.back() != frame->objectName()))
            frames.push_back(frame->objectName());
    }
    EXPECT_EQ(std::set<QString>(frames.begin(), frames.end()).size(), frames.size())
        << QStringList(frames.begin(), frames.end()).join(" ").toStdString();
    // Inside a frame, row by row: never back up to a row above, and left to
    // right along a row.
    const QWidget* previous = nullptr;
    for (QWidget* at = main.nextInFocusChain(); at != &main; at = at->nextInFocusChain()) {
        if ((at->focusPolicy() & Qt::TabFocus) == 0 || !at->isVisibleTo(&main))
            continue;
        if (previous != nullptr && previous->parentWidget() == at->parentWidget()) {
            const int halfRow = std::max(previous->height(), 2) / 2;
            const QPoint from = previous->pos();
            const QPoint to = at->pos();
            const std::string step =
                previous->objectName().toStdString() + " then " + at->objectName().toStdString();
            EXPECT_GT(to.y(), from.y() - halfRow) << step;
            if (std::abs(to.y() - from.y()) < halfRow) {
                EXPECT_GT(to.x(), from.x()) << step;
            }
        }
        previous = at;
    }

    // Focus gives the same help as the pointer; a disabled control gives none.
    auto& other = widget<QRadioButton>("Main", "NCNO", 1);
    QTest::mouseMove(&other, QPoint(5, other.height() / 2));
    const QString before = help.text();
    auto& disabled = widget<QRadioButton>("Main", "Senders", 1);
    ASSERT_FALSE(disabled.isEnabled());
    QTest::mouseMove(&disabled, QPoint(5, disabled.height() / 2));
    EXPECT_EQ(help.text(), before);
    auto& mode = widget<QRadioButton>("Main", "Mode", 2);
    mode.setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(help.text().startsWith("This mode of operation allows the vindle"));

    // The wheel changes a slider only when the slider has the focus.
    auto& debounce = widget<QAbstractSlider>("Main", "Debounce");
    const auto wheel = [&debounce] {
        QWheelEvent event(QPointF(5, 5), debounce.mapToGlobal(QPointF(5, 5)), QPoint(),
                          QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&debounce, &event);
    };
    const int value = program_->mainWindow().Debounce().value();
    wheel();
    EXPECT_EQ(program_->mainWindow().Debounce().value(), value);
    debounce.setFocus();
    wheel();
    EXPECT_NE(program_->mainWindow().Debounce().value(), value);
}

// Tab visits a window as the model reads it, in every state the option
// rules can put it in: each option group once, at its selected option, and
// nothing without a name. The steps, the names Tab visits and the controls
// shown and usable are written next to the test for the page's browser
// test, which takes the same steps and must find the same.
TEST_F(RenderedRun, TabVisitsTheModelsStopsInEveryState)
{
    const struct
    {
        const char* window;
        const char* control;
        int index;
    } steps[]{
        {nullptr, nullptr, kNoIndex},
        {"Main", "Senders", 1},
        {"Main", "Senders", 2},
        {"Main", "RSDevice", 0},
        {"Main", "Frequency", 0},
        {"Main", "Mode", 4},
        {"Main", "Mode", 1},
        {"Main", "Mode", 0},
        {"Main", "MotionInputs", kNoIndex},
        {"Main", "TestConfiguration", kNoIndex},
    };
    startWith({});
    // The data monitor offers its files, as the desktop's and the page's do.
    MonitorFileDialogs files(dialogs_, [](MonitorFileDialogs::Purpose) { return QString(); });
    program_->setMonitorFiles(files);
    endWhenShown("RS232Packets");
    QJsonArray states;
    for (const auto& step : steps) {
        QJsonObject state;
        if (step.window != nullptr) {
            QTest::mouseClick(&widget<QWidget>(step.window, step.control, step.index),
                              Qt::LeftButton, {}, QPoint(4, 4));
            state["window"] = step.window;
            state["control"] = step.control;
            state["index"] = step.index == kNoIndex ? QJsonValue() : QJsonValue(step.index);
        }
        QJsonObject windows;
        program_->forEachWindow([&](Window& model) {
            if (!model.isVisible())
                return;
            QWidget& top = window(model.name().c_str());
            QStringList visited;
            for (QWidget* at = top.nextInFocusChain(); at != &top; at = at->nextInFocusChain()) {
                if ((at->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && at->isVisibleTo(&top) &&
                    at->isEnabled())
                    visited << (at->accessibleName().isEmpty() ? "(unnamed)"
                                                               : at->accessibleName());
            }
            QStringList expected;
            for (const Control* stop : tabStops(model))
                expected << QString::fromStdString(accessibleName(model, *stop));
            EXPECT_EQ(visited.join(" | ").toStdString(), expected.join(" | ").toStdString())
                << model.name() << " after " << (step.control ? step.control : "the start") << "("
                << step.index << ")";
            // What can be seen, and what the keyboard could use.
            QStringList shown;
            QStringList usable;
            for (const Control* control : readingOrder(model)) {
                const QWidget* const widget =
                    view_->binder(model.name().c_str())->widgetFor(*control);
                if (widget == nullptr || !widget->isVisibleTo(&top))
                    continue;
                const QString name =
                    QString::fromStdString(control->name()) +
                    (control->index() == kNoIndex ? QString()
                                                  : QStringLiteral("(%1)").arg(control->index()));
                shown << name;
                if (takesKeyboardFocus(control->kind()) && widget->isEnabled())
                    usable << name;
            }
            windows[QString::fromStdString(model.name())] =
                QJsonObject{{"tab", QJsonArray::fromStringList(visited)},
                            {"shown", QJsonArray::fromStringList(shown)},
                            {"usable", QJsonArray::fromStringList(usable)}};
        });
        state["windows"] = windows;
        states.append(state);
    }
    QFile out(QDir(QCoreApplication::applicationDirPath()).filePath("tab-order.json"));
    ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
    out.write(QJsonDocument(states).toJson());
}

// Escape is the close of a window that closing only hides; the main window
// (closing it ends the program) keeps it, and the window of a transfer has
// no close at all.
TEST_F(RenderedRun, EscapeClosesWhatClosingOnlyHides)
{
    startWith({});
    QTest::mouseClick(&widget<QRadioButton>("Main", "Mode", 1), Qt::LeftButton);
    const struct
    {
        const char* window;
        bool closes;
    } cases[]{{"Limiter", true}, {"Main", false}};
    for (const auto& c : cases) {
        QWidget& top = window(c.window);
        ASSERT_TRUE(top.isVisible()) << c.window;
        QTest::keyClick(&top, Qt::Key_Escape);
        EXPECT_EQ(top.isVisible(), !c.closes) << c.window;
    }
    EXPECT_FALSE(window("Working").windowFlags().testFlag(Qt::WindowCloseButtonHint));
    program_->forEachWindow([](Window& model) {
        if (model.name() == "Working") {
            model.show();
            model.requestClose();
            EXPECT_TRUE(model.isVisible());
        }
    });
    EXPECT_FALSE(program_->hasEnded());
}

TEST_F(RenderedRun, OptionGroupsAnswerAPersonAfterTheProgramChose)
{
    // The program selects, then a person presses an arrow key on that option.
    const struct
    {
        const char* group;
        int chosen;
        Qt::Key key;
        int selected;
    } cases[]{
        {"Mode", 2, Qt::Key_Down, 3}, {"Mode", 3, Qt::Key_Up, 2}, {"RSDevice", 1, Qt::Key_Up, 0}};
    startWith({});
    window("Main").show();
    window("Main").activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window("Main")));
    MainWindow& main = program_->mainWindow();
    for (const auto& c : cases) {
        OptionGroup& group = main.get<OptionGroup>(c.group);
        group.select(c.chosen);
        auto& option = widget<QRadioButton>("Main", c.group, c.chosen);
        option.setFocus();
        QTest::keyClick(&option, c.key);
        EXPECT_TRUE(group.isSelected(c.selected)) << c.group << " " << c.chosen;
        int checked = 0;
        for (const auto& each : group.options())
            checked += widget<QRadioButton>("Main", c.group, each->index()).isChecked();
        EXPECT_EQ(checked, 1) << c.group << " " << c.chosen;
    }

    // A person's click on the option already selected still raises its click:
    // MODE 1 brings back the limiter window the person closed.
    const std::function<void(QRadioButton&)> clicks[]{
        [](QRadioButton& option) { QTest::mouseClick(&option, Qt::LeftButton); },
        [](QRadioButton& option) {
            option.setFocus();
            QTest::keyClick(&option, Qt::Key_Space);
        },
        [](QRadioButton& option) {
            // An animated click: it comes a moment later.
            QSignalSpy clicked(&option, &QAbstractButton::clicked);
            accessible(option).actionInterface()->doAction(
                QAccessibleActionInterface::pressAction());
            EXPECT_TRUE(clicked.wait());
        },
    };
    auto& mode1 = widget<QRadioButton>("Main", "Mode", 1);
    QTest::mouseClick(&mode1, Qt::LeftButton);
    for (const auto& click : clicks) {
        SCOPED_TRACE(&click - clicks);
        window("Limiter").close();
        ASSERT_FALSE(window("Limiter").isVisible());
        click(mode1);
        EXPECT_TRUE(window("Limiter").isVisible());
        EXPECT_TRUE(main.Mode().isSelected(1));
    }
}

TEST_F(RenderedRun, TheFooterGivesItsHelpOnHoverAndFocus)
{
    startWith({});
    QWidget& main = window("Main");
    main.show();
    auto& help = widget<QLabel>("Main", "HELP");
    const auto elsewhere = [this, &help] {
        auto& other = widget<QRadioButton>("Main", "Mode", 2);
        QTest::mouseMove(&other, QPoint(5, other.height() / 2));
        return help.text();
    };
    for (const auto& [button, text] : {std::pair{"ReadSettings", "This button reads the settings"},
                                       std::pair{"StoreSettings", "This button stores"}}) {
        auto& shown = widget<QPushButton>("Main", button);
        ASSERT_FALSE(elsewhere().startsWith(text));
        QTest::mouseMove(&shown, QPoint(5, shown.height() / 2));
        EXPECT_TRUE(help.text().startsWith(text)) << button << " hovered";
        ASSERT_FALSE(elsewhere().startsWith(text));
        shown.setFocus(Qt::TabFocusReason);
        EXPECT_TRUE(help.text().startsWith(text)) << button << " focused";
    }
}

TEST_F(RenderedRun, WindowsBelongToTheProgramAndShowATransfer)
{
    startWith({});
    QTest::mouseClick(&widget<QRadioButton>("Main", "Mode", 1), Qt::LeftButton);
    QWidget& main = window("Main");
    for (const char* name : {"Main", "Limiter", "Working"})
        EXPECT_FALSE(window(name).windowIcon().isNull()) << name;
    EXPECT_EQ(window("Limiter").windowHandle()->transientParent(), main.windowHandle());
    // Nothing is appended to the windows' titles by the desktop.
    ProgramIdentity::nameApplication("varnel_com9", "1");
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), "varnel_com9");

    // During a store: the main window disabled, a busy pointer, the bar drawn.
    auto& bar = widget<QWidget>("Working", "Level");
    int paints = 0;
    int updates = 0;
    struct PaintCounter : QObject
    {
        int* paints;
        explicit PaintCounter(int* p) : paints(p) {}
        bool eventFilter(QObject*, QEvent* event) override
        {
            *paints += event->type() == QEvent::Paint;
            return false;
        }
    } counter(&paints);
    bar.installEventFilter(&counter);
    bool disabled = true;
    bool busy = true;
    program_->progress().get<ProgressBar>("Level").addListener([&](const Control&) {
        ++updates;
        disabled = disabled && !main.isEnabled();
        busy = busy && main.cursor().shape() == Qt::BusyCursor;
        QCoreApplication::processEvents();
    });
    QTest::mouseClick(&widget<QPushButton>("Main", "StoreSettings"), Qt::LeftButton);
    module_->settle();
    EXPECT_GT(updates, 50);
    EXPECT_TRUE(disabled);
    EXPECT_TRUE(busy);
    EXPECT_GE(paints, updates);
    EXPECT_TRUE(main.isEnabled());
    EXPECT_NE(main.cursor().shape(), Qt::BusyCursor);
}

} // namespace
} // namespace vindle

namespace vindle {
namespace {

// Not a check: scripts/window-gallery.sh runs it under Xvfb to photograph
// each window, filled, at the scale the program uses, for the documentation.
// With VINDLE_GALLERY_SUFFIX set it takes only the two largest windows, each
// named with the suffix (the pictures on a small screen).
TEST_F(RenderedRun, DISABLED_WindowGallery)
{
    const QString directory = qEnvironmentVariable("VINDLE_GALLERY_DIR");
    const QString suffix = qEnvironmentVariable("VINDLE_GALLERY_SUFFIX");
    ASSERT_FALSE(directory.isEmpty());
    MessageBox::setAutoAnswer(std::nullopt);
    startWith({}, TwipScale::forFont(QApplication::font()));
    const ConfigurationMenu menu(*program_, window("Main"), dialogs_);
    view_->binder("Main")->fitToScreen();
    const auto settle = [] {
        for (int i = 0; i < 20; ++i) {
            QCoreApplication::processEvents();
            QTest::qWait(25);
        }
    };
    const auto snap = [&directory, &suffix](const QWidget& shown, const QString& file) {
        QProcess::execute("import", {"-window", QString::number(shown.winId()),
                                     directory + "/" + file + suffix + ".png"});
    };
    const auto photograph = [&](const char* name, const QString& file) {
        for (const char* other :
             {"Main", "Advanced", "MotionTimes", "Limiter", "Working", "RS232Packets"}) {
            if (WindowBinder* binder = view_->binder(other))
                binder->widget().setVisible(std::string_view(other) == name);
        }
        QWidget& shown = window(name);
        shown.move(0, 0);
        settle();
        snap(shown, file);
    };
    photograph("Main", "Main");
    auto& limiterMode = widget<QRadioButton>("Main", "Mode", 1);
    if (!suffix.isEmpty()) {
        QTest::mouseClick(&limiterMode, Qt::LeftButton);
        photograph("Limiter", "Limiter");
        return;
    }
    QTest::mouseClick(&widget<QPushButton>("Main", "GetVersion"), Qt::LeftButton);
    photograph("Main", "Main-identity");
    QTest::mouseClick(&widget<QPushButton>("Main", "ExitVersion"), Qt::LeftButton);
    program_->windows().advanced().show();
    photograph("Advanced", "Advanced");
    program_->mainWindow().MotionInputs().toggle();
    photograph("MotionTimes", "MotionTimes");
    program_->mainWindow().MotionInputs().toggle();
    QTest::mouseClick(&limiterMode, Qt::LeftButton);
    QTest::mouseClick(&widget<QPushButton>("Limiter", "Command1"), Qt::LeftButton);
    photograph("Limiter", "Limiter");
    QTest::mouseClick(&widget<QRadioButton>("Main", "Mode", 0), Qt::LeftButton);

    // The progress window in the middle of a store, over the main window.
    photograph("Main", "Main");
    bool taken = false;
    program_->progress().get<ProgressBar>("Level").addListener([&](const Control& bar) {
        if (taken || static_cast<const ProgressBar&>(bar).value() < 20)
            return;
        taken = true;
        window("Working").move(120, 160);
        settle();
        snap(window("Working"), "Working");
    });
    QTest::mouseClick(&widget<QPushButton>("Main", "StoreSettings"), Qt::LeftButton);
    module_->settle();

    // A message box over the main window.
    QTimer::singleShot(600, [&] {
        QWidget* box = QApplication::activeModalWidget();
        ASSERT_NE(box, nullptr);
        snap(*box, "MessageBox");
        box->close();
    });
    dialogs_.showMessage(ConfigurationStore::kNoOutput);

    // The monitor's files as on the desktop, and a capture under way.
    MonitorFileDialogs files(dialogs_, [](MonitorFileDialogs::Purpose) { return QString(); });
    program_->setMonitorFiles(files);
    QTemporaryDir captures;
    program_->forEachWindow([this, &captures](Window& window) {
        if (auto* monitor = dynamic_cast<MonitorWindow*>(&window)) {
            monitor->Text1().addListener([this, monitor, &captures](const Control& text) {
                const auto lines = static_cast<const LineDisplay&>(text).linesAdded();
                // With keys, times and hex, and a header found.
                if (lines == 1 && monitor->TimeCheck().value() == CheckBox::kUnchecked) {
                    monitor->KeysCheck().toggle();
                    monitor->TimeCheck().toggle();
                    monitor->HexCheck().toggle();
                    auto file = std::make_unique<AppendedFile>();
                    if (file->open(captures.filePath("vindle-capture.jsonl")).isEmpty())
                        program_->monitorLines().startCapture("vindle-capture.jsonl",
                                                              std::move(file));
                }
                if (lines >= 60 && !monitor->Text1().marked()) {
                    monitor->FindText().setText("FE");
                    monitor->FindNext().press();
                    monitor->FindNext().press();
                    program_->end();
                }
            });
        }
    });
    QTest::mouseClick(&widget<QPushButton>("Main", "TestConfiguration"), Qt::LeftButton);
    photograph("RS232Packets", "RS232Packets");
}

} // namespace
} // namespace vindle
