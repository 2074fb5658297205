#pragma once

#include "config/ConfigurationHolder.h"
#include "link/ByteLink.h"
#include "program/ConfigurationReader.h"
#include "program/ConfigurationStore.h"
#include "program/DeviceMaintenance.h"
#include "program/MonitorReceiver.h"
#include "program/ProcedureResults.h"

#include <functional>
#include <optional>

namespace vindle {

// One module on an open port: the link, the rule that one exchange holds the
// line at a time, the procedures, and how the session ends. Whatever holds
// the configuration (the windows, or a Configuration of its own) is handed to
// each procedure; the session shows nothing.
//
// Ending closes the link: nothing more is sent, every wait returns.
class ModuleSession
{
public:
    ModuleSession(SerialPort& port, EventPump& pump, const Clock& clock);
    ModuleSession(const ModuleSession&) = delete;
    ModuleSession& operator=(const ModuleSession&) = delete;

    ByteLink& link() { return link_; }
    const ByteLink& link() const { return link_; }
    // Who follows the transfers of the procedures below (a terminal's bar,
    // the page's bench).
    void followTransfers(TransferSteps steps) { steps_ = std::move(steps); }

    // Runs `procedure` holding the line, unless another exchange holds it;
    // `otherwise` is the result then. A store left unfinished is waited out
    // first.
    template <class Result>
    Result exclusively(const std::function<Result()>& procedure, Result otherwise = {})
    {
        if (const ByteLink::Exchange exchange = link_.startExchange()) {
            link_.waitOutUnfinishedStore();
            if (!link_.isClosed())
                return procedure();
        }
        return otherwise;
    }
    void exclusively(const std::function<void()>& procedure);
    // Runs a store; an end() asked meanwhile comes once it is over.
    StoreResult whileStoring(const std::function<StoreResult()>& store);

    // Ends the session. Asked while a store runs, it ends it once the store
    // is over.
    void end();
    // Ends the session at once, a store under way too.
    void endNow();
    // end() was asked while a store runs, and waits for it.
    bool endingAfterStore() const { return endAfterStore_; }
    bool hasEnded() const { return link_.isClosed(); }
    // Called once when the session ends.
    void onEnded(std::function<void()> handler) { ended_ = std::move(handler); }

    // The procedures, each holding the line while it runs; while another
    // exchange holds it, or after the session has ended, each does nothing
    // (a read or store then ends as Ended, an identity as empty).
    ReadResult readConfiguration(ConfigurationHolder& holder, const ReadOptions& options);
    StoreResult storeConfiguration(ConfigurationHolder& holder);
    // Empty also when the module's reply was not a whole identity.
    std::optional<Identity> readIdentity();
    // The reset to factory defaults, then the read. A reset whose reply is
    // not a whole identity ends as NoAnswer with `identityIncomplete`, unread.
    ReadResult clearToFactoryDefaults(ConfigurationHolder& holder, const ReadOptions& options);
    // Receives what a running module sends into `lines` until the session
    // ends, sending nothing; `wall` times the lines.
    // A `capture` keeps every byte as it was read.
    void watch(MonitorLines& lines, const WallClock& wall, MonitorCapture* capture = nullptr);

    ConfigurationReader& reader() { return reader_; }
    const ConfigurationReader& reader() const { return reader_; }
    ConfigurationStore& store() { return store_; }
    DeviceMaintenance& maintenance() { return maintenance_; }

private:
    ByteLink link_;
    TransferSteps steps_;
    ConfigurationReader reader_;
    ConfigurationStore store_;
    DeviceMaintenance maintenance_;
    std::function<void()> ended_;
    // A store runs; end() was asked meanwhile.
    bool storing_ = false;
    bool endAfterStore_ = false;
};

} // namespace vindle
