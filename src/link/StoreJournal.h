#pragma once

namespace vindle {

// Where a run notes, beside the port, that a store is under way. A module in
// the middle of a store takes every byte that comes as its next value, so a
// run that died part-way (killed, crashed, the power gone) leaves the next
// run on the same port sending commands into the store. The next run finds
// the note and lets the module give the store up first.
//
// The shell keeps the note where its platform lets it: a file beside the
// port's lock, the page's storage of its origin.
class StoreJournal
{
public:
    enum class Earlier
    {
        None,       // no store of an earlier run was left under way
        Unfinished, // an earlier run stopped in the middle of a store
        Unknown,    // the note cannot be read: there is no telling
    };

    virtual ~StoreJournal() = default;

    // What the runs before this one left.
    virtual Earlier earlier() = 0;
    // Written before the store command goes out.
    virtual void storeBegins() = 0;
    // Removed once the module holds no store open: after the last
    // acknowledgement, or once a store cut short has been waited out.
    virtual void storeOver() = 0;
};

} // namespace vindle
