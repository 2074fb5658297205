#include "qt/ProgramIdentity.h"

#include "program/SetupProgram.h"

#include <QGuiApplication>

namespace vindle {

QString ProgramIdentity::title()
{
    return QString::fromUtf8(SetupProgram::kTitle);
}

QIcon ProgramIdentity::icon()
{
    return QIcon(QStringLiteral(":/vindle/vindle-setup.png"));
}

void ProgramIdentity::nameApplication(const QString& programName, const QString& version)
{
    QCoreApplication::setApplicationName(programName);
    QCoreApplication::setApplicationVersion(version);
    QGuiApplication::setDesktopFileName(QStringLiteral("vindle-setup"));
}

} // namespace vindle
