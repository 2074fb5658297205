#pragma once

#include "link/StoreJournal.h"

namespace vindle::test {

// A store journal in memory: it says what `found` says of earlier runs and
// counts the notes this run makes.
struct FakeJournal final : StoreJournal
{
    explicit FakeJournal(Earlier found = Earlier::None) : found(found) {}
    Earlier earlier() override { return found; }
    void storeBegins() override { ++begun; }
    void storeOver() override { ++over; }

    Earlier found;
    int begun = 0;
    int over = 0;
};

} // namespace vindle::test
