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
    portStop_ = PortStop{port, reason, session_.link().storeUnfinished()};
    endNow();
}

bool SetupProgram::editsUnsaved()
{
    return configuration_.editsUnsaved();
}

void SetupProgram::keep()
{
    configuration_.keep();
}

void SetupProgram::configurationSaved(const ConfigurationRecord& record)
{
    configuration_.keep(record);
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
    : session_(port, pump, clock), dialogs_(dialogs, session_.link()),
      binding_(windows_, configuration_),
      procedures_(services(), configuration_,
                  {session_.reader(), session_.store(), session_.maintenance()},
                  [this] { handOver(); }),
      analogRefresh_(session_.link())
{
    binding_.bind(mainWindow());
    windows_.onWindowCreated([this](Window& window) { windowCreated(window); });
    wireButtons();
}

SetupProgram::~SetupProgram() = default;

ProgramServices SetupProgram::services()
{
    return {session_.link(), dialogs_, windows_,
            [this]() -> ProgressWindow& { return progress(); }};
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
    binding_.bind(window);
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
        monitorLines_ = std::make_unique<MonitorWindowLines>(*monitor_, session_.link(), wallClock_,
                                                             monitorFiles_);
        windowCreated(*monitor_);
    }
    return *monitor_;
}

MonitorWindowLines& SetupProgram::monitorLines()
{
    monitor();
    return *monitorLines_;
}

void SetupProgram::start()
{
    // Whatever an earlier program left on the line is no reply to this one.
    session_.link().settle();
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
    session_.end();
}

void SetupProgram::endNow()
{
    session_.endNow();
}

ReadResult SetupProgram::readConfiguration(const ReadOptions& options)
{
    ReadResult result = session_.readConfiguration(procedures_.configuration(), options);
    keepRead(result);
    return result;
}

StoreResult SetupProgram::storeConfiguration()
{
    StoreResult result = session_.storeConfiguration(procedures_.configuration());
    if (result.outcome == StoreOutcome::Stored)
        keep();
    return result;
}

std::optional<Identity> SetupProgram::readIdentity()
{
    return session_.readIdentity();
}

ReadResult SetupProgram::clearToFactoryDefaults(const ReadOptions& options)
{
    ReadResult result = session_.clearToFactoryDefaults(procedures_.configuration(), options);
    keepRead(result);
    return result;
}

void SetupProgram::accomplished(Accomplishment accomplishment) const
{
    if (accomplished_)
        accomplished_(accomplishment);
}

void SetupProgram::ReadSettings_Click()
{
    session_.exclusively([this] {
        const ReadResult result = procedures_.ReadSettings_Click();
        keepRead(result);
        if (result.outcome == ReadOutcome::Read)
            accomplished(Accomplishment::Read);
    });
}

void SetupProgram::StoreSettings_Click()
{
    session_.exclusively([this] {
        if (session_.whileStoring([this] { return procedures_.StoreSettings_Click(); }).outcome ==
            StoreOutcome::Stored) {
            keep();
            accomplished(Accomplishment::Stored);
        }
    });
}

void SetupProgram::GetVersion_Click()
{
    session_.exclusively([this] {
        if (procedures_.GetVersion_Click())
            accomplished(Accomplishment::IdentityShown);
    });
}

void SetupProgram::ExitVersion_Click()
{
    procedures_.ExitVersion_Click();
}

void SetupProgram::FactoryDefaults_Click()
{
    session_.exclusively([this] {
        const ReadResult result = procedures_.FactoryDefaults_Click();
        keepRead(result);
        if (result.outcome == ReadOutcome::Read)
            accomplished(Accomplishment::ClearedToDefaults);
    });
}

void SetupProgram::TestConfiguration_Click()
{
    session_.exclusively([this] { handOver(); });
}

void SetupProgram::RefreshAnalogInputs()
{
    session_.exclusively([this] { analogRefresh_.refresh(windows_.limiter()); });
}

void SetupProgram::watchModule()
{
    session_.exclusively([this] { runMonitor(); });
}

SetupProgram::Opened SetupProgram::openConfiguration(const ConfigurationRecord& record,
                                                     std::optional<CapabilityFlags> capabilities,
                                                     const ModuleIdentityRecord& fileModule)
{
    // The windows are the configuration a store sends: they do not change
    // under an exchange.
    const ByteLink::Exchange exchange = session_.link().startExchange();
    if (!exchange)
        return {true, {}, {}};
    Opened opened{false,
                  putRecord(windows_, record,
                            capabilities.value_or(session_.reader().identity().capabilities())),
                  otherModule(fileModule, moduleIdentityRecord(session_.reader().identity()))};
    keep();
    return opened;
}

SetupProgram::ToSave SetupProgram::configurationToSave()
{
    StoreValues values = configuration_.toStore();
    return {{moduleIdentityRecord(session_.reader().identity()), values.record, {}},
            values.refusedLocation,
            std::move(values.refusal)};
}

void SetupProgram::handOver()
{
    if (session_.hasEnded())
        return;
    startTestConfiguration(session_.link());
    windows_.hideSecondaryWindows();
    runMonitor();
}

void SetupProgram::runMonitor()
{
    monitor().Form_Load([this] { mainWindow().hide(); });
    MonitorReceiver receiver(session_.link(), *monitorLines_, wallClock_);
    receiver.setCapture(monitorLines_.get());
    receiver.run();
    // The capture holds every byte the monitor received.
    monitorLines_->stopCapture();
}

} // namespace vindle
