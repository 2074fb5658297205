#pragma once

#include <QIcon>
#include <QString>

namespace vindle {

// What the programs call themselves towards the desktop.
class ProgramIdentity
{
public:
    // The title of the program's message boxes.
    static QString title();
    // The icon every window of the program carries.
    static QIcon icon();
    // Names the running application `programName` at `version`. The windows
    // keep their own titles: no display name is set, which the desktop would
    // otherwise append to every title.
    static void nameApplication(const QString& programName, const QString& version);
};

} // namespace vindle
