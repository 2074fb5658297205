#pragma once

#include "link/StoreJournal.h"

#include <emscripten/val.h>
#include <string>

namespace vindle {

// The store journal a page keeps, through page.storeJournal(op) with op
// "earlier", "begins" or "over" ("earlier" answers "none", "unfinished" or
// "unknown"), in the origin's storage.
class PageJournal final : public StoreJournal
{
public:
    explicit PageJournal(const emscripten::val& page) : page_(page) {}

    Earlier earlier() override
    {
        const auto found = page_.call<std::string>("storeJournal", std::string("earlier"));
        if (found == "unfinished")
            return Earlier::Unfinished;
        return found == "unknown" ? Earlier::Unknown : Earlier::None;
    }
    void storeBegins() override { page_.call<void>("storeJournal", std::string("begins")); }
    void storeOver() override { page_.call<void>("storeJournal", std::string("over")); }

private:
    const emscripten::val& page_;
};

} // namespace vindle
