#include "EmulatorSettings.h"

#include "base/AtIndex.h"

namespace vindle::emulator {

Configuration factoryDefaults()
{
    Configuration c{};
    c[0] = 0;  // no expansion banks
    c[1] = 25; // debounce
    c[2] = 0;  // RS-232 relay bank 1
    c[3] = 0;  // LR relay bank 1
    c[4] = 0;  // ES relay bank 1
    c[5] = 0;  // Q4T device number
    c[6] = 0;  // wireless keys
    c[7] = 0;
    c[8] = 0;
    c[9] = 0;  // RS-232 port only
    c[10] = 0; // mode 0
    c[11] = 0; // 8-bit A/D
    c[12] = 2; // send data when a change is detected
    c[13] = 1; // interval: every second
    c[14] = 1; // RS-232 data to a computer
    c[15] = 3; // 9600 baud
    c[16] = 0; // no LR data
    c[17] = 0; // 10 kbit/s
    c[18] = 1; // send LR keys
    c[19] = 5; // LR repetitions
    c[20] = 0; // no ES data
    c[21] = 0; // 40 kbit/s
    c[22] = 1; // send ES keys
    c[23] = 5; // ES repetitions
    c[24] = 6; // A/D squelch
    for (int channel = 0; channel < kAnalogChannelCount; ++channel) {
        atIndex(c, 25 + 2 * channel) = 75;
        atIndex(c, 26 + 2 * channel) = 125;
    }
    c[39] = 0; // every channel inside its limits
    c[40] = 0; // no motion detectors
    for (int input = 0; input < 8; ++input) {
        atIndex(c, 41 + input) = 1; // minutes
    }
    c[49] = 0; // relays individually activated
    c[50] = 0; // normally open
    return c;
}

} // namespace vindle::emulator
