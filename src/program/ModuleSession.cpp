#include "program/ModuleSession.h"

#include "link/DeviceCommands.h"

#include <utility>

namespace vindle {

ModuleSession::ModuleSession(SerialPort& port, EventPump& pump, const Clock& clock)
    : link_(port, pump, clock), reader_(link_), store_(link_), maintenance_(link_)
{}

void ModuleSession::exclusively(const std::function<void()>& procedure)
{
    exclusively<bool>([&procedure] {
        procedure();
        return true;
    });
}

StoreResult ModuleSession::whileStoring(const std::function<StoreResult()>& store)
{
    struct Storing
    {
        ModuleSession& session;
        explicit Storing(ModuleSession& s) : session(s) { session.storing_ = true; }
        ~Storing()
        {
            session.storing_ = false;
            if (std::exchange(session.endAfterStore_, false))
                session.endNow();
        }
    } storing(*this);
    return store();
}

void ModuleSession::end()
{
    if (storing_) {
        endAfterStore_ = true;
        return;
    }
    endNow();
}

void ModuleSession::endNow()
{
    if (link_.isClosed())
        return;
    link_.close();
    if (ended_)
        ended_();
}

ReadResult ModuleSession::readConfiguration(ConfigurationHolder& holder, const ReadOptions& options)
{
    return exclusively<ReadResult>([&] { return reader_.readModule(holder, options, steps_); });
}

StoreResult ModuleSession::storeConfiguration(ConfigurationHolder& holder)
{
    return exclusively<StoreResult>(
        [&] { return whileStoring([&] { return store_.storeModule(holder, steps_); }); });
}

std::optional<Identity> ModuleSession::readIdentity()
{
    return exclusively<std::optional<Identity>>([this] { return maintenance_.readIdentity(); });
}

ReadResult ModuleSession::clearToFactoryDefaults(ConfigurationHolder& holder,
                                                 const ReadOptions& options)
{
    return exclusively<ReadResult>([&] {
        // The reset's command is the identify command: its reply ends with
        // the ready marker, and anything else is no reset that can be told.
        link_.dropUntilQuiet();
        if (!identifyWhole(link_) && !link_.isClosed()) {
            ReadResult result;
            result.outcome = ReadOutcome::NoAnswer;
            result.identityIncomplete = true;
            return result;
        }
        return reader_.readModule(holder, options, steps_);
    });
}

void ModuleSession::watch(MonitorLines& lines, const WallClock& wall, MonitorCapture* capture)
{
    exclusively([&] {
        MonitorReceiver receiver(link_, lines, wall);
        receiver.setCapture(capture);
        receiver.run();
    });
}

} // namespace vindle
