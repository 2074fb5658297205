#include "program/SetupProgram.h"

#include "link/DeviceCommands.h"
#include "program/StoreValues.h"

namespace vindle {

std::string SetupProgram::portStoppedMessage(const std::string& port, const std::string& reason)
{
    return "The serial port " + port + " stopped working: " + reason +
           "\n\nNothing more can be received from or sent to the Vindle Module.";
}

void SetupProgram::RunDialogs::showMessage(const std::string& text)
{
    if (!link_.isClosed())
        shell_.showMessage(text);
}

SetupProgram::SetupProgram(SerialPort& port, EventPump& pump, const Clock& clock, Dialogs& dialogs)
    : link_(port, pump, clock), dialogs_(dialogs, link_),
      reader_(services(), [this] { handOver(); }), store_(services()),
      maintenance_(services(), reader_), analogRefresh_(link_)
{
    windows_.onWindowCreated([this](Window& window) { windowCreated(window); });
    wireButtons();
}

SetupProgram::~SetupProgram() = default;

ProgramServices SetupProgram::services()
{
    return {link_, dialogs_, windows_, [this]() -> ProgressWindow& { return progress(); }, events_};
}

template <class Result>
Result SetupProgram::exclusively(const std::function<Result()>& procedure, Result otherwise)
{
    if (const ByteLink::Exchange exchange = link_.startExchange()) {
        link_.waitOutUnfinishedStore();
        if (!link_.isClosed())
            return procedure();
    }
    return otherwise;
}

void SetupProgram::exclusively(const std::function<void()>& procedure)
{
    exclusively<bool>([&procedure] {
        procedure();
        return true;
    });
}

void SetupProgram::wireButtons()
{
    MainWindow& main = mainWindow();
    main.ReadSettings().onClick([this] { ReadSettings_Click(); });
    main.StoreSettings().onClick([this] { StoreSettings_Click(); });
    main.GetVersion().onClick([this] { GetVersion_Click(); });
    main.ExitVersion().onClick([this] { ExitVersion_Click(); });
    main.FactoryDefaults().onClick([this] { FactoryDefaults_Click(); });
    main.TestConfiguration().onClick([this] { TestConfiguration_Click(); });
    main.onClose([this] { end(); });
}

void SetupProgram::windowCreated(Window& window)
{
    if (auto* limiter = dynamic_cast<LimiterWindow*>(&window))
        limiter->Command1().onClick([this] { RefreshAnalogInputs(); });
    if (auto* monitorWindow = dynamic_cast<MonitorWindow*>(&window))
        monitorWindow->onClose([this] { end(); });
    for (const WindowListener& listener : windowListeners_)
        listener(window);
}

void SetupProgram::forEachWindow(const WindowListener& listener)
{
    listener(mainWindow());
    if (windows_.hasAdvanced())
        listener(windows_.advanced());
    if (windows_.hasMotionTimes())
        listener(windows_.motionTimes());
    if (windows_.hasLimiter())
        listener(windows_.limiter());
    if (progress_)
        listener(*progress_);
    if (monitor_)
        listener(*monitor_);
    windowListeners_.push_back(listener);
}

ProgressWindow& SetupProgram::progress()
{
    if (!progress_) {
        progress_ = std::make_unique<ProgressWindow>();
        windowCreated(*progress_);
    }
    return *progress_;
}

MonitorWindow& SetupProgram::monitor()
{
    if (!monitor_) {
        monitor_ = std::make_unique<MonitorWindow>();
        monitorReceiver_ = std::make_unique<MonitorReceiver>(link_, *monitor_);
        windowCreated(*monitor_);
    }
    return *monitor_;
}

void SetupProgram::start()
{
    // Whatever an earlier program left on the line is no reply to this one.
    link_.settle();
    ReadSettings_Click();
    if (hasEnded())
        return;
    MainWindow& main = mainWindow();
    if (main.MotionInputs().value() == CheckBox::kChecked && main.Mode().isSelected(0)) {
        MotionTimesWindow& motion = windows_.motionTimes();
        motion.show();
        motion.bringToFront();
    }
}

void SetupProgram::end()
{
    if (link_.isClosed())
        return;
    link_.close();
    if (ended_)
        ended_();
}

ReadResult SetupProgram::readConfiguration(const ReadOptions& options)
{
    return exclusively<ReadResult>([&] { return reader_.readModule(options); });
}

StoreResult SetupProgram::storeConfiguration()
{
    return exclusively<StoreResult>([this] { return store_.storeModule(); });
}

std::optional<Identity> SetupProgram::readIdentity()
{
    return exclusively<std::optional<Identity>>([this] { return maintenance_.readIdentity(); });
}

ReadResult SetupProgram::clearToFactoryDefaults()
{
    return exclusively<ReadResult>([this] {
        // The reset's command is the identify command: its reply ends with
        // the ready marker, and anything else is no reset that can be told.
        link_.dropUntilQuiet();
        if (!identifyWhole(link_) && !link_.isClosed()) {
            ReadResult result;
            result.outcome = ReadOutcome::NoAnswer;
            result.identityIncomplete = true;
            return result;
        }
        return reader_.readModule(ReadOptions{});
    });
}

void SetupProgram::ReadSettings_Click()
{
    exclusively([this] { reader_.ReadSettings_Click(); });
}

void SetupProgram::StoreSettings_Click()
{
    exclusively([this] { store_.StoreSettings_Click(); });
}

void SetupProgram::GetVersion_Click()
{
    exclusively([this] { maintenance_.GetVersion_Click(); });
}

void SetupProgram::ExitVersion_Click()
{
    maintenance_.ExitVersion_Click();
}

void SetupProgram::FactoryDefaults_Click()
{
    exclusively([this] { maintenance_.FactoryDefaults_Click(); });
}

void SetupProgram::TestConfiguration_Click()
{
    exclusively([this] { handOver(); });
}

void SetupProgram::RefreshAnalogInputs()
{
    exclusively([this] { analogRefresh_.refresh(windows_.limiter()); });
}

void SetupProgram::watchModule()
{
    exclusively([this] { runMonitor(); });
}

SetupProgram::Opened SetupProgram::openConfiguration(const ConfigurationRecord& record,
                                                     std::optional<CapabilityFlags> capabilities)
{
    // The windows are the configuration a store sends: they do not change
    // under an exchange.
    const ByteLink::Exchange exchange = link_.startExchange();
    if (!exchange)
        return {true, {}};
    return {false,
            putRecord(windows_, record, capabilities.value_or(reader_.identity().capabilities()))};
}

SetupProgram::ToSave SetupProgram::configurationToSave()
{
    StoreValues values = storeValues(windows_);
    return {{moduleIdentityRecord(reader_.identity()), values.record, {}},
            values.refusedLocation,
            std::move(values.refusal)};
}

void SetupProgram::handOver()
{
    if (link_.isClosed())
        return;
    startTestConfiguration(link_);
    windows_.limiter().hide();
    windows_.advanced().hide();
    windows_.motionTimes().hide();
    runMonitor();
}

void SetupProgram::runMonitor()
{
    monitor().Form_Load([this] { mainWindow().hide(); });
    monitorReceiver_->run();
}

} // namespace vindle
