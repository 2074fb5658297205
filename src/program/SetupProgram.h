#pragma once

#include "link/ByteLink.h"
#include "program/AnalogRefresh.h"
#include "program/ConfigurationFile.h"
#include "program/LocationControls.h"
#include "program/ModuleSession.h"
#include "program/MonitorWindowLines.h"
#include "program/ProcedureResults.h"
#include "program/RecordDecoding.h"
#include "program/WindowProcedures.h"
#include "ui/main/ConfigWindows.h"
#include "ui/model/Dialogs.h"
#include "ui/monitor/MonitorWindow.h"
#include "ui/progress/ProgressWindow.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vindle {

// One run of the set-up utility: the module's session, every window, and the
// procedures that the buttons start. The shell gives it the four platform
// services, renders its windows and calls start(); from then on everything
// happens in handlers.
//
// Closing the main window or the data monitor ends the run at once, also in
// the middle of a wait: the link is closed (nothing more is sent, every wait
// returns), no further message is shown, and the shell's ended hook runs so
// that it can release the port and quit.
class SetupProgram
{
public:
    using WindowListener = std::function<void(Window&)>;

    // The program's name, on its message boxes and its start window.
    static constexpr const char* kTitle = "Vindle Setup";
    static constexpr const char* kBusyMessage =
        "The Vindle Module is busy.  Open the configuration again once the exchange with it is "
        "over.";

    // What opening a configuration did to the windows.
    struct Opened
    {
        // Another exchange held the line: nothing was changed.
        bool busy = false;
        // The values the windows hold differently from the file.
        std::vector<UnkeptValue> unkept;
        // The file was saved from another kind of module than the one read.
        std::optional<OtherModule> otherModule;
    };
    // What a file saved now would hold; when a text field is not a byte,
    // `refusedLocation` names it and `refusal` is the store's message.
    struct ToSave
    {
        ConfigurationFileContents contents;
        std::optional<int> refusedLocation;
        std::string refusal;
    };

    SetupProgram(SerialPort& port, EventPump& pump, const Clock& clock, Dialogs& dialogs);
    ~SetupProgram();
    SetupProgram(const SetupProgram&) = delete;
    SetupProgram& operator=(const SetupProgram&) = delete;

    // How the open port stopped working (unplugged, a read error).
    struct PortStop
    {
        // The port as the shell names it, and the system's words.
        std::string port;
        std::string reason;
        // A store was under way: the module may hold part of the new values.
        bool storeCut = false;
    };
    // What the shell says once the run has ended with `stop`.
    static std::string portStoppedMessage(const PortStop& stop);

    // The open port stopped working: the run ends at once, as closing the
    // main window ends it. The exchange under way unwinds with nothing more
    // sent and nothing said (no retries, no hand-over to the data monitor:
    // the port is gone, not the module); portStop() then tells the shell why.
    void portStopped(const std::string& port, const std::string& reason);
    const std::optional<PortStop>& portStop() const { return portStop_; }

    // The windows hold values that neither a store nor a file has taken
    // since they were last read, stored, opened or saved (a text field that
    // is no byte counts as such a value). False before the first read.
    bool editsUnsaved();

    // Hears what each button of the main window brought about, once it has.
    void onAccomplished(std::function<void(Accomplishment)> listener)
    {
        accomplished_ = std::move(listener);
    }
    // The shell wrote a file holding `record` (a configurationToSave()).
    void configurationSaved(const ConfigurationRecord& record);

    // Start-up: lets the line settle, reads the module (which makes the main window visible) and
    // opens the motion detector window when the configuration uses motion
    // detectors in mode 0. Returns when start-up is over, or, after a hand-over
    // to the data monitor, only when the run has ended.
    void start();

    // Ends the run (what closing the main window or the data monitor does).
    // Asked while a store runs, it ends the run once the store is over: no
    // button cuts a store short (a port that stops working still does).
    void end();
    // Ends the run at once, a store under way too: the port stopped working,
    // or the command line's second Ctrl+C, which says what it leaves behind.
    void endNow();
    // end() was asked while a store runs, and waits for it.
    bool endingAfterStore() const { return session_.endingAfterStore(); }
    bool hasEnded() const { return session_.hasEnded(); }
    // Shell hook, called once when the run ends.
    void onEnded(std::function<void()> handler) { session_.onEnded(std::move(handler)); }

    // Every window that exists now, then every one created later, is passed
    // to `listener` (each window once per listener).
    void forEachWindow(const WindowListener& listener);

    ByteLink& link() { return session_.link(); }
    ConfigWindows& windows() { return windows_; }
    MainWindow& mainWindow() { return windows_.mainWindow(); }
    // Created, hidden, on first use.
    ProgressWindow& progress();
    MonitorWindow& monitor();
    // Where Save Lines… and Capture to File… of a data monitor made from now
    // on ask for their files; without it they are not offered.
    void setMonitorFiles(MonitorFiles& files) { monitorFiles_ = &files; }
    // The data monitor's lines and its capture; made with the monitor.
    MonitorWindowLines& monitorLines();
    bool hasMonitor() const { return monitor_ != nullptr; }

    // The procedures on their own, with nothing said to the user and no
    // window shown, hidden, enabled or disabled: what happened is the result
    // (a read puts the values into the controls). Each holds the line while it runs; while
    // another exchange holds it, or after the run has ended, it does nothing
    // (a read or store then ends as Ended, an identity as empty).
    ReadResult readConfiguration(const ReadOptions& options);
    StoreResult storeConfiguration();
    // Empty also when the module's reply was not a whole identity.
    std::optional<Identity> readIdentity();
    // The reset to factory defaults, then the read. A reset whose reply is
    // not a whole identity ends as NoAnswer with `identityIncomplete`, unread.
    ReadResult clearToFactoryDefaults(const ReadOptions& options = {});

    // The procedures behind the buttons. A procedure started while another
    // exchange holds the line, or after the run has ended, does nothing.
    void ReadSettings_Click();
    void StoreSettings_Click();
    void GetVersion_Click();
    void ExitVersion_Click();
    void FactoryDefaults_Click();
    void TestConfiguration_Click();
    // The limiter window's refresh of the A/D readings.
    void RefreshAnalogInputs();
    // The data monitor alone, for a module that already runs: shows it and
    // receives until the run ends, without sending anything.
    void watchModule();

    const ConfigurationReader& reader() const { return session_.reader(); }

    // Puts a configuration from a file into the windows as a read puts one,
    // for a module fitted with `capabilities` (by default those of the
    // module read last); sends nothing. `fileModule` is the module the file
    // names, compared with the one read last.
    Opened openConfiguration(const ConfigurationRecord& record,
                             std::optional<CapabilityFlags> capabilities = std::nullopt,
                             const ModuleIdentityRecord& fileModule = {});
    // What a file saved now holds: the identity of the last read and the
    // values Store Configuration would send.
    ToSave configurationToSave();

private:
    // Dialogs that fall silent once the run has ended.
    class RunDialogs final : public Dialogs
    {
    public:
        RunDialogs(Dialogs& shell, const ByteLink& link) : shell_(shell), link_(link) {}
        void showMessage(const std::string& text) override;

    private:
        Dialogs& shell_;
        const ByteLink& link_;
    };

    // Opens the data monitor in place of the main window and receives until
    // the run ends.
    void runMonitor();
    // Test Configuration once the line is held: the module is told to run,
    // the configuration windows go and the data monitor takes over.
    void handOver();
    void windowCreated(Window& window);
    void wireButtons();
    // What the procedures work with; the members it names are made first.
    ProgramServices services();
    // The windows now hold what the module or a file holds.
    void keep();
    void keepRead(const ReadResult& result);
    void accomplished(Accomplishment accomplishment) const;

    ModuleSession session_;
    RunDialogs dialogs_;
    ConfigWindows windows_;
    // What the windows' controls hold, written through as they change.
    Configuration configuration_;
    LocationBinding binding_;
    std::unique_ptr<ProgressWindow> progress_;
    std::unique_ptr<MonitorWindow> monitor_;
    std::unique_ptr<MonitorWindowLines> monitorLines_;
    MonitorFiles* monitorFiles_ = nullptr;
    SystemWallClock wallClock_;
    WindowProcedures procedures_;
    AnalogRefresh analogRefresh_;
    std::vector<WindowListener> windowListeners_;
    std::optional<PortStop> portStop_;
    std::function<void(Accomplishment)> accomplished_;
};

} // namespace vindle
