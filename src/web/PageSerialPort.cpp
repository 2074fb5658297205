#include "web/PageSerialPort.h"

namespace vindle {

std::uint8_t PageSerialPort::takeByte()
{
    const std::uint8_t byte = received_.front();
    received_.pop_front();
    return byte;
}

void PageSerialPort::writeByte(std::uint8_t byte)
{
    page_.call<void>("send", byte);
}

void PageSerialPort::setBitRate(int bitsPerSecond)
{
    page_.call<void>("setBitRate", bitsPerSecond);
}

bool PageSerialPort::takeArrived()
{
    const std::vector<std::uint8_t> bytes = emscripten::convertJSArrayToNumberVector<std::uint8_t>(
        page_.call<emscripten::val>("takeReceived"));
    received_.insert(received_.end(), bytes.begin(), bytes.end());
    return !bytes.empty();
}

bool PageSerialPort::takeQueued(const std::function<void(const emscripten::val&)>& act)
{
    bool any = takeArrived();
    for (emscripten::val action = page_.call<emscripten::val>("takeAction");
         !action.isNull() && !action.isUndefined();
         action = page_.call<emscripten::val>("takeAction")) {
        any = true;
        act(action);
    }
    return any;
}

} // namespace vindle
