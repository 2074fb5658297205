#include "qt/DesktopStart.h"

#include "qt/DesktopProgram.h"
#include "qt/MessageBox.h"
#include "qt/ProgramIdentity.h"
#include "qt/core/PortOpenFailure.h"

#include <QSerialPortInfo>
#include <cstdio>

namespace vindle {

int runDesktop(const DesktopStart& start)
{
    QtSerialPort port;
    if (!port.open(start.device)) {
        const QString text = portOpenFailureText(start.device, port.errorText(), port.error(),
                                                 QSerialPortInfo::availablePorts());
        std::fprintf(stderr, "%s\n", qPrintable(text));
        if (start.namedOnCommandLine) {
            MessageBox::critical(nullptr, ProgramIdentity::title(), text);
            return 1;
        }
        PortChooser chooser(port, start.device, start.startEmulator);
        if (!chooser.choose())
            return 1;
    }
    DesktopProgram program(port);
    return program.run();
}

} // namespace vindle
