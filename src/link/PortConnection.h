#pragma once

namespace vindle {

// The port as a bench of many modules needs it beyond its bytes: a module
// that goes away may take its port with it (a USB adapter pulled out), and
// the next one comes back under the same name.
class PortConnection
{
public:
    virtual ~PortConnection() = default;

    virtual bool isOpen() const = 0;
    // Opens the same port afresh; false when it cannot be opened now.
    virtual bool reopen() = 0;
    virtual void close() = 0;
};

} // namespace vindle
