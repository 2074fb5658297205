#include "qt/ProgramIdentity.h"

#include <QGuiApplication>

namespace vindle {

QString ProgramIdentity::title()
{
    return QStringLiteral("Vindle Setup");
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
