#pragma once

#include "link/EventPump.h"

#include <QSocketNotifier>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace vindle::cli {

// Lines read from a descriptor (stdin) in the event loop, so that a signal
// or anything else the loop serves is heard while a person types: a wait
// sleeps until a byte comes, and reads only what has come.
class InputLines
{
public:
    explicit InputLines(EventPump& pump, int descriptor);
    ~InputLines();
    InputLines(const InputLines&) = delete;
    InputLines& operator=(const InputLines&) = delete;

    // The next line without its line end (a last line without one too);
    // empty at the end of input, or as soon as `stop` says so.
    std::optional<std::string> next(const std::function<bool()>& stop);

private:
    void readSome();

    EventPump& pump_;
    int descriptor_;
    std::unique_ptr<QSocketNotifier> notifier_;
    std::string pending_;
    bool ended_ = false;
};

} // namespace vindle::cli
