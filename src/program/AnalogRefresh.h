#pragma once

namespace vindle {

class ByteLink;
class LimiterWindow;

// Asks the module for the present A/D readings of the seven analog inputs
// and shows each as a bar, a count and a voltage in the limiter window. A
// reply that does not start with the ready marker changes nothing.
class AnalogRefresh
{
public:
    explicit AnalogRefresh(ByteLink& link) : link_(link) {}

    // One refresh, on a line the caller holds.
    void refresh(LimiterWindow& limiter);

private:
    ByteLink& link_;
};

} // namespace vindle
