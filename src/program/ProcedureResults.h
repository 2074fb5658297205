#pragma once

#include "config/ConfigurationHolder.h"
#include "config/ConfigurationRecord.h"
#include "config/Identity.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vindle {

// What the procedures that talk to the module return: what happened, as
// values. The windows turn them into their messages and captions; the
// command line into its lines and exit statuses.

// A received value that its control cannot take.
struct UnshowableValue
{
    int location;
    int value;

    friend bool operator==(const UnshowableValue&, const UnshowableValue&) = default;
};

enum class ReadOutcome
{
    Read,        // every location is shown as the module holds it
    PartlyShown, // complete, but the `unshowable` locations keep what they showed
    Unshowable,  // stopped at the `unshowable` values, before the option rules ran
    NoAnswer,    // more than five passes failed
    Unconfirmed, // no two replies in a row agreed (`unconfirmed` names where)
    Ended,       // the run ended meanwhile, or another exchange held the line
};

struct ReadOptions
{
    // Stop once values turn out not to fit (Unshowable) rather than show
    // every other location (PartlyShown).
    bool stopAtUnshowable = true;
    // End with the identify command and apply the capability flags.
    bool identify = true;
    // The protocol carries no check: ask again until two replies in a row
    // agree, before anything is made of them.
    bool confirm = false;
};

struct ReadResult
{
    ReadOutcome outcome = ReadOutcome::Ended;
    ConfigurationRecord record;
    // The values as the module sent them, before the read's limits.
    ConfigurationRecord received;
    // The reply to the identify command that ended the read, when it was sent
    // and came whole (five bytes and the ready marker).
    std::optional<Identity> identity;
    // The identify command was sent but its reply was not whole: the
    // capability flags were not applied.
    bool identityIncomplete = false;
    int failedPasses = 0;
    // Where the replies of an unconfirmed read disagreed.
    std::vector<int> unconfirmed;
    std::vector<UnshowableValue> unshowable;
    // The locations, other than the unshowable ones, whose value the windows
    // changed on the way in (a value past a control's range, a choice the
    // option rules or the module's flags do not allow): a store would send
    // `held` where the module holds `wanted`.
    std::vector<UnkeptValue> changed;
    // The module was cleared to its factory defaults and read again.
    bool recovered = false;
};

enum class StoreOutcome
{
    Stored,   // all 51 locations acknowledged
    NoOutput, // refused: the configuration sends no output anywhere; nothing sent
    BadField, // refused: a text field is not a byte; nothing sent
    Refused,  // an acknowledgement was wrong or missing at `refusedAt`
    Ended,    // the run ended meanwhile, or another exchange held the line
};

struct StoreResult
{
    StoreOutcome outcome = StoreOutcome::Ended;
    // The highest location the module acknowledged with its number.
    std::optional<int> lastAcknowledged;
    std::optional<int> refusedAt;
    // The acknowledgement at `refusedAt` did not come at all.
    bool unanswered = false;
    // The text field that is not a byte (BadField).
    std::optional<int> badField;
    // A value byte went out: the module may hold some of them.
    bool valueSent = false;
    // Why nothing was sent (NoOutput, BadField), as the user is told it.
    std::string refusal;
};

// Which transfer a progress event belongs to.
enum class Transfer
{
    Reading,
    Storing,
};

// What a button of the main window brought about, for a shell that tells a
// person so without a message (a screen reader's polite announcement).
enum class Accomplishment
{
    Read,              // the windows show the module's configuration
    Stored,            // the module took the windows' configuration, acknowledged
    ClearedToDefaults, // the module was reset and read back
    IdentityShown,     // the device version information is shown
};

// What the procedures tell while they run, for a shell that shows progress
// its own way.
// How a transfer is followed while it runs (a progress window, a bar on a
// terminal, the page's bench). The procedures call these at their steps and
// show nothing themselves.
struct TransferSteps
{
    // The transfer begins (again, for each pass of a read).
    std::function<void(Transfer)> begins;
    // A location was received with its number (Reading) or acknowledged
    // (Storing).
    std::function<void(Transfer, int location)> reached;
    // Storing: the reply to a location sent has come, or is overdue, whether
    // or not it acknowledges it (the progress window moves on then).
    std::function<void(int location)> answered;
    // Every location is in; the bytes that end the reply are still to come.
    std::function<void()> ends;
    // Reading: the reply is all taken; its values go into the windows next.
    std::function<void()> received;
};

} // namespace vindle
