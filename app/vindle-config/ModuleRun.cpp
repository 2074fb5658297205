#include "ModuleRun.h"

#include "ModuleText.h"
#include "TerminalProgress.h"
#include "config/MemoryMap.h"
#include "program/ConfigurationReader.h"
#include "program/ConfigurationStore.h"
#include "program/StoreValues.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace vindle::cli {

namespace {

// What a message of the procedures means to the command, and whether the
// run goes on after it.
struct MessageOutcome
{
    std::string_view start; // the message, or how it begins
    ExitStatus status;
    bool endsRun; // the windows would now hand over or clear the module
    bool written; // false when the command says it in its own words
};

const std::array kMessageOutcomes{
    MessageOutcome{ConfigurationReader::kNoCommunication, ExitStatus::NoAnswer, true, true},
    MessageOutcome{ConfigurationReader::kRecoveryMessage, ExitStatus::Unshowable, true, false},
    MessageOutcome{ConfigurationStore::kStorageError, ExitStatus::StoreRefused, false, true},
    MessageOutcome{ConfigurationStore::kNoOutput, ExitStatus::Usage, false, true},
    MessageOutcome{ConfigurationStore::kCannotStore, ExitStatus::Usage, false, true},
};

std::optional<int> number(const std::string& text)
{
    if (text.empty() ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    return std::stoi(text);
}

} // namespace

ModuleRun::ModuleRun(SerialPort& port, EventPump& pump, const Clock& clock,
                     TerminalProgress& progress)
    : progress_(progress), program_(port, pump, clock, dialogs_)
{
    dialogs_.setFilter([this](const std::string& text) { return heard(text); });
    program_.forEachWindow([this, &progress](Window& window) {
        if (auto* working = dynamic_cast<ProgressWindow*>(&window)) {
            progress.watch(*working);
            watchStore(*working);
        }
    });
}

bool ModuleRun::heard(const std::string& text)
{
    for (const MessageOutcome& outcome : kMessageOutcomes) {
        if (std::string_view(text).substr(0, outcome.start.size()) != outcome.start)
            continue;
        if (!failure_)
            failure_ = outcome.status;
        if (outcome.written) {
            messages_.push_back(text);
            progress_.breakLine();
        }
        if (outcome.endsRun)
            program_.end();
        return outcome.written;
    }
    messages_.push_back(text);
    progress_.breakLine();
    return true;
}

void ModuleRun::tell(const std::string& text)
{
    messages_.push_back(text);
    dialogs_.showMessage(text);
}

void ModuleRun::watchStore(ProgressWindow& window)
{
    window.get<ProgressBar>("Level").addListener([this](const Control& control) {
        if (!storing_ || failure_)
            return;
        lastStored_ = static_cast<int>(static_cast<const ProgressBar&>(control).value());
        if (interrupted_)
            program_.end();
    });
}

void ModuleRun::interrupt()
{
    interrupted_ = true;
    if (!storing_)
        program_.end();
}

void ModuleRun::portFailed(const std::string& reason)
{
    if (!failure_)
        failure_ = ExitStatus::PortUnavailable;
    tell("The serial port failed: " + reason);
    program_.end();
}

ExitStatus ModuleRun::read()
{
    program_.ReadSettings_Click();
    return readOutcome();
}

ExitStatus ModuleRun::readOutcome()
{
    if (failure_ == ExitStatus::Unshowable) {
        const ConfigurationRecord& record = program_.reader().record();
        for (const LocationInfo& info : memoryMap()) {
            if (!windowRejects(info, record[info.location]))
                continue;
            tell(cannotShowMessage(info.location, record[info.location]) +
                 "  Nothing was sent to change it; `vindle-config defaults --yes` clears the "
                 "module to its factory defaults.");
            break;
        }
    }
    if (failure_ == ExitStatus::NoAnswer)
        tell("No data monitor is opened here: `vindle-config monitor` shows what the module "
             "sends.");
    if (failure_)
        return *failure_;
    if (interrupted_ || program_.hasEnded()) {
        tell("Interrupted before the read was complete.");
        return ExitStatus::Interrupted;
    }
    identity_ = moduleIdentityRecord(program_.reader().identity());
    return ExitStatus::Done;
}

ExitStatus ModuleRun::identity()
{
    program_.GetVersion_Click();
    if (interrupted_)
        return ExitStatus::Interrupted;
    const MainWindow& main = program_.mainWindow();
    identity_ = {number(main.VDAT2(0).caption()), number(main.VDAT2(1).caption()),
                 number(main.VDAT2(2).caption()), number(main.VDAT2(3).caption()), std::nullopt};
    if (!identity_.deviceId1 && !identity_.deviceId2 && !identity_.year && !identity_.firmware) {
        tell("The Vindle Module did not answer.  Make sure the Program Jumper is Installed and the "
             "LED is Flashing (Configuration Mode).");
        return ExitStatus::NoAnswer;
    }
    return ExitStatus::Done;
}

ExitStatus ModuleRun::defaults()
{
    program_.FactoryDefaults_Click();
    return readOutcome();
}

ExitStatus ModuleRun::store(const ConfigurationRecord& values)
{
    try {
        const std::vector<UnkeptValue> unkept = program_.openConfiguration(values);
        if (!unkept.empty()) {
            tell(unkeptValuesMessage(unkept) + "  Nothing was sent to the Vindle Module.");
            return ExitStatus::Usage;
        }
    } catch (const ConfigurationFileError& error) {
        tell(std::string(error.what()) + "  Nothing was sent to the Vindle Module.");
        return ExitStatus::Usage;
    }
    // What goes out is exactly the file: the windows may not have changed a
    // value on the way in.
    const StoreValues sent = storeValues(program_.windows());
    if (sent.refusedLocation) {
        tell(sent.refusal);
        return ExitStatus::Usage;
    }
    std::string unlike;
    for (int location = 0; location < kLocationCount; ++location) {
        if (sent.record[location] != values[location])
            unlike += "\n    " + locationText(location) + ": the file holds " +
                      std::to_string(values[location]) + ", the windows would store " +
                      std::to_string(sent.record[location]);
    }
    if (!unlike.empty()) {
        tell("The windows cannot store this configuration as it is.  Nothing was sent to the "
             "Vindle Module." +
             unlike);
        return ExitStatus::Usage;
    }

    lastStored_.reset();
    storing_ = true;
    program_.StoreSettings_Click();
    storing_ = false;
    if (failure_ == ExitStatus::StoreRefused) {
        const int at = static_cast<int>(program_.progress().Level().value());
        refusedAt_ = at;
        tell("The Vindle Module did not acknowledge " + locationText(at) + "; " +
             (at == 0 ? std::string("nothing was stored.")
                      : "locations 0 to " + std::to_string(at - 1) + " were stored."));
        return ExitStatus::StoreRefused;
    }
    if (failure_)
        return *failure_;
    if (lastStored_ == kLocationCount - 1)
        return ExitStatus::Done;
    if (interrupted_) {
        tell(lastStored_ ? "Interrupted: locations 0 to " + std::to_string(*lastStored_) +
                               " were stored; the module keeps its earlier values from location " +
                               std::to_string(*lastStored_ + 1) + " on."
                         : std::string("Interrupted: nothing was stored."));
        return ExitStatus::Interrupted;
    }
    return program_.hasEnded() ? ExitStatus::NoAnswer : ExitStatus::Done;
}

ExitStatus ModuleRun::monitor(std::optional<int> bitRate, bool header, bool keys,
                              const std::function<void(const std::string&)>& line)
{
    MonitorWindow& window = program_.monitor();
    if (bitRate) {
        const auto& rates = MonitorWindow::kBitRates;
        const auto found = std::find(rates.begin(), rates.end(), *bitRate);
        if (found != rates.end())
            window.Baud().select(static_cast<int>(found - rates.begin()));
    }
    window.HeaderCheck().setValue(header ? CheckBox::kChecked : CheckBox::kUnchecked);
    window.KeysCheck().setValue(keys ? CheckBox::kChecked : CheckBox::kUnchecked);

    LineDisplay& display = window.Text1();
    std::uint64_t written = display.linesAdded();
    display.addListener([&display, &written, &line](const Control&) {
        const std::uint64_t added = display.linesAdded();
        const std::size_t fresh = static_cast<std::size_t>(
            std::min<std::uint64_t>(added - written, display.lines().size()));
        for (std::size_t i = fresh; i > 0; --i)
            line(display.lines()[i - 1]);
        written = added;
    });
    program_.watchModule();
    if (failure_)
        return *failure_;
    return ExitStatus::Done;
}

ExitStatus ModuleRun::verify(const ConfigurationRecord& values,
                             std::vector<Difference>& differences)
{
    progress_.step("Stored; reading it back...");
    const ExitStatus status = read();
    if (status != ExitStatus::Done)
        return status;
    const ConfigurationRecord& held = program_.reader().record();
    for (int location = 0; location < kLocationCount; ++location) {
        if (held[location] != values[location])
            differences.push_back({location, values[location], held[location]});
    }
    return differences.empty() ? ExitStatus::Done : ExitStatus::Differences;
}

ConfigurationFileContents ModuleRun::contents()
{
    return program_.configurationToSave();
}

} // namespace vindle::cli
