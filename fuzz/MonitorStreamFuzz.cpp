// The data monitor's framing of any byte stream. The first byte chooses the
// framing (bit 0 header byte expected, bit 1 keys expected); the rest arrives
// on the line. With header framing every byte makes one line, without it
// every pair of bytes does; every line starts with the bits of a byte.

#include "program/MonitorReceiver.h"
#include "program/MonitorWindowLines.h"
#include "support/FakePump.h"
#include "support/ScriptedPort.h"
#include "ui/monitor/MonitorWindow.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return -1;
    const bool header = (data[0] & 1) != 0;
    const bool keys = (data[0] & 2) != 0;

    vindle::test::FakeClock clock;
    vindle::test::ScriptedPort port(clock);
    vindle::test::FakePump pump(clock, [&port] { return port.nextArrival(); });
    vindle::ByteLink link(port, pump, clock);
    for (std::size_t i = 1; i < size; ++i)
        port.arrive({data[i]});
    // The user closes the monitor once it has taken everything.
    pump.onYield = [&] {
        if (port.pendingTotal() == 0)
            link.close();
    };

    vindle::MonitorWindow monitor;
    const vindle::SystemWallClock wall;
    vindle::MonitorWindowLines lines(monitor, link, wall);
    vindle::MonitorReceiver receiver(link, lines, wall);
    monitor.HeaderCheck().setValue(header ? vindle::CheckBox::kChecked
                                          : vindle::CheckBox::kUnchecked);
    if (header)
        monitor.KeysCheck().setValue(keys ? vindle::CheckBox::kChecked
                                          : vindle::CheckBox::kUnchecked);
    monitor.Form_Load();
    receiver.run();

    const std::size_t bytes = size - 1;
    if (monitor.Text1().linesAdded() != (header ? bytes : bytes / 2))
        std::abort();
    for (const std::string& line : monitor.Text1().lines()) {
        if (line.size() < 9 || line.find_first_not_of("01") != 8 || line[8] != '>')
            std::abort();
    }
    return 0;
}
