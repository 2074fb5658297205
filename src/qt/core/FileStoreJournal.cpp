#include "qt/core/FileStoreJournal.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace vindle {

namespace {

// Where serial ports' locks live, the first that can be written to.
QString journalDirectory()
{
    for (const char* directory : {"/run/lock", "/var/lock"}) {
        const QFileInfo info(QString::fromLatin1(directory));
        if (info.isDir() && info.isWritable())
            return info.absoluteFilePath();
    }
    return QDir::tempPath();
}

} // namespace

FileStoreJournal::FileStoreJournal(const QString& device)
{
    const QString canonical = QFileInfo(device).canonicalFilePath();
    QString name = canonical.isEmpty() ? device : canonical;
    for (QChar& c : name) {
        if (!c.isLetterOrNumber() && c != QLatin1Char('.') && c != QLatin1Char('-'))
            c = QLatin1Char('_');
    }
    path_ = journalDirectory() + QStringLiteral("/vindle-store..") + name;
}

StoreJournal::Earlier FileStoreJournal::earlier()
{
    if (QFileInfo::exists(path_))
        return Earlier::Unfinished;
    // Where this run cannot write the note, no earlier one could have.
    return QFileInfo(QFileInfo(path_).absolutePath()).isWritable() ? Earlier::None
                                                                   : Earlier::Unknown;
}

void FileStoreJournal::storeBegins()
{
    QFile file(path_);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return;
    file.write(QStringLiteral("%1 %2 %3\n")
                   .arg(QCoreApplication::applicationPid())
                   .arg(QCoreApplication::applicationName(),
                        QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs))
                   .toUtf8());
    file.flush();
#ifdef Q_OS_UNIX
    // The note must outlast a power cut in the middle of the store.
    ::fsync(file.handle());
#endif
}

void FileStoreJournal::storeOver()
{
    QFile::remove(path_);
}

} // namespace vindle
