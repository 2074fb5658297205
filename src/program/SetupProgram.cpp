#include "program/SetupProgram.h"

#include "link/DeviceCommands.h"
#include "program/StoreValues.h"

#include <utility>

namespace vindle {

std::string SetupProgram::portStoppedMessage(const PortStop& stop)
{
    std::string text = "The serial port " + stop.port + " stopped working: " + stop.reason;
    if (stop.storeCut)
        text += "\n\nThe store was cut short: the Vindle Module may hold the new configuration "
                "only in part. Store it again once the module is connected.";
    return text + "\n\nConnect to the module again to go on.";
}

void SetupProgram::portStopped(const std::string& port, const std::string& reason)
{
    if (hasEnded())
        return;
    portStop_ = PortStop{port, reason, link_.storeUnfinished()};
    endNow();
}

bool SetupProgram::editsUnsaved()
{
    if (!kept_)
        return false;
    const StoreValues values = storeValues(windows_);
    return values.refusedLocation || values.record.values != kept_->values;
}

void SetupProgram::keep()
{
    const StoreValues values = storeValues(windows_);
    if (!values.refusedLocation)
        kept_ = values.record;
}

void SetupProgram::keepRead(const ReadResult& result)
{
    if (result.outcome == ReadOutcome::Read || result.outcome == ReadOutcome::PartlyShown)
        keep();
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

StoreResult SetupProgram::whileStoring(const std::function<StoreResult()>& store)
{
    struct Storing
    {
        SetupProgram& program;
        explicit Storing(SetupProgram& p) : program(p) { program.storing_ = true; }
        ~Storing()
        {
            program.storing_ = false;
            if (std::exchange(program.endAfterStore_, false))
                program.endNow();
        }
    } storing(*this);
    return store();
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
    main.onClose([this] { end(); }, true);
}

void SetupProgram::windowCreated(Window& window)
{
    if (auto* limiter = dynamic_cast<LimiterWindow*>(&window))
        limiter->Command1().onClick([this] { RefreshAnalogInputs(); });
    if (auto* monitorWindow = dynamic_cast<MonitorWindow*>(&window))
        monitorWindow->onClose([this] { end(); }, true);
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
    if (storing_) {
        endAfterStore_ = true;
        return;
    }
    endNow();
}

void SetupProgram::endNow()
{
    if (link_.isClosed())
        return;
    link_.close();
    if (ended_)
        ended_();
}

ReadResult SetupProgram::readConfiguration(const ReadOptions& options)
{
    return exclusively<ReadResult>([&] {
        ReadResult result = reader_.readModule(options);
        keepRead(result);
        return result;
    });
}

StoreResult SetupProgram::storeConfiguration()
{
    return exclusively<StoreResult>([this] {
        StoreResult result = whileStoring([this] { return store_.storeModule(); });
        if (result.outcome == StoreOutcome::Stored)
            keep();
        return result;
    });
}

std::optional<Identity> SetupProgram::readIdentity()
{
    return exclusively<std::optional<Identity>>([this] { return maintenance_.readIdentity(); });
}

ReadResult SetupProgram::clearToFactoryDefaults(const ReadOptions& options)
{
    return exclusively<ReadResult>([this, &options] {
        // The reset's command is the identify command: its reply ends with
        // the ready marker, and anything else is no reset that can be told.
        link_.dropUntilQuiet();
        if (!identifyWhole(link_) && !link_.isClosed()) {
            ReadResult result;
            result.outcome = ReadOutcome::NoAnswer;
            result.identityIncomplete = true;
            return result;
        }
        ReadResult result = reader_.readModule(options);
        keepRead(result);
        return result;
    });
}

void SetupProgram::accomplished(Accomplishment accomplishment) const
{
    if (accomplished_)
        accomplished_(accomplishment);
}

void SetupProgram::ReadSettings_Click()
{
    exclusively([this] {
        const ReadResult result = reader_.ReadSettings_Click();
        keepRead(result);
        if (result.outcome == ReadOutcome::Read)
            accomplished(Accomplishment::Read);
    });
}

void SetupProgram::StoreSettings_Click()
{
    exclusively([this] {
        if (whileStoring([this] { return store_.StoreSettings_Click(); }).outcome ==
            StoreOutcome::Stored) {
            keep();
            accomplished(Accomplishment::Stored);
        }
    });
}

void SetupProgram::GetVersion_Click()
{
    exclusively([this] {
        if (maintenance_.GetVersion_Click())
            accomplished(Accomplishment::IdentityShown);
    });
}

void SetupProgram::ExitVersion_Click()
{
    maintenance_.ExitVersion_Click();
}

void SetupProgram::FactoryDefaults_Click()
{
    exclusively([this] {
        const ReadResult result = maintenance_.FactoryDefaults_Click();
        keepRead(result);
        if (result.outcome == ReadOutcome::Read)
            accomplished(Accomplishment::ClearedToDefaults);
    });
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
                                                     std::optional<CapabilityFlags> capabilities,
                                                     const ModuleIdentityRecord& fileModule)
{
    // The windows are the configuration a store sends: they do not change
    // under an exchange.
    const ByteLink::Exchange exchange = link_.startExchange();
    if (!exchange)
        return {true, {}, {}};
    Opened opened{
        false,
        putRecord(windows_, record, capabilities.value_or(reader_.identity().capabilities())),
        otherModule(fileModule, moduleIdentityRecord(reader_.identity()))};
    keep();
    return opened;
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
    windows_.hideSecondaryWindows();
    runMonitor();
}

void SetupProgram::runMonitor()
{
    monitor().Form_Load([this] { mainWindow().hide(); });
    monitorReceiver_->run();
}

} // namespace vindle
