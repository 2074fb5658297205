#pragma once

#include "link/SerialPort.h"

#include <cstdint>
#include <deque>
#include <emscripten/val.h>
#include <functional>
#include <vector>

namespace vindle {

// The serial port as the page sees it (the browser's Web Serial API, or a
// module emulated in the page): written bytes go to the page one by one, in
// order; received bytes are what the page queued, taken into the receive
// queue at each turn of the event pump.
class PageSerialPort final : public SerialPort
{
public:
    explicit PageSerialPort(emscripten::val page) : page_(std::move(page)) {}

    int bytesPending() const override { return static_cast<int>(received_.size()); }
    std::uint8_t takeByte() override;
    void writeByte(std::uint8_t byte) override;
    void setBitRate(int bitsPerSecond) override;

    // Moves the bytes the page has received into the queue; true when any.
    bool takeArrived();
    // What the page queued for the core: the bytes received, and each of the
    // user's actions (page.takeAction()) handed to `act`; true when any.
    bool takeQueued(const std::function<void(const emscripten::val& action)>& act);

private:
    emscripten::val page_;
    std::deque<std::uint8_t> received_;
};

} // namespace vindle
