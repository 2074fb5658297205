#include "qt/core/TextFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace vindle {

namespace {

QString failure(const char* what, const QString& path, const QString& reason)
{
    return QCoreApplication::translate("TextFile", what)
        .arg(QDir::toNativeSeparators(path), reason);
}

QString notRegular()
{
    return QCoreApplication::translate("TextFile", "it is not a regular file");
}

} // namespace

LoadedText loadTextFile(const QString& path)
{
    // A FIFO or a device could hold the program up, or never end.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        return {{}, failure("Cannot read %1: %2", path, notRegular())};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {{}, failure("Cannot open %1: %2", path, file.errorString())};
    const QByteArray bytes = file.read(kLargestTextFile + 1);
    if (file.error() != QFileDevice::NoError)
        return {{}, failure("Cannot read %1: %2", path, file.errorString())};
    if (bytes.size() > kLargestTextFile)
        return {{},
                QString::fromStdString(
                    tooLargeFileMessage(QDir::toNativeSeparators(path).toStdString()))};
    return {bytes.toStdString(), {}};
}

QString checkTextFileSavable(const QString& path)
{
    // A device, a FIFO or a folder is never replaced by a file; a link to a
    // regular file is followed.
    const QFileInfo old(path);
    if (old.exists() && !old.isFile())
        return failure("Cannot write %1: %2", path, notRegular());
    // The new file begun beside it, and given up.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return failure("Cannot write %1: %2", path, file.errorString());
    file.cancelWriting();
    return {};
}

QString saveTextFile(const QString& path, std::string_view text)
{
    const QFileInfo old(path);
    if (old.exists() && !old.isFile())
        return failure("Cannot write %1: %2", path, notRegular());
    QSaveFile file(path);
    // Unbuffered: a write that the disk cuts short shows at once, rather than
    // in a flush whose failure the commit would not report.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return failure("Cannot write %1: %2", path, file.errorString());
    const auto size = static_cast<qint64>(text.size());
    if (file.write(text.data(), size) != size || !file.commit())
        return failure("Cannot write %1: %2", path, file.errorString());
#ifdef Q_OS_UNIX
    // The new file takes the old one's place with the old one's group, as
    // an editor's save keeps it; where that is not allowed, it keeps ours.
    if (old.exists()) {
        struct stat written = {};
        const QByteArray name = QFile::encodeName(old.canonicalFilePath());
        if (::stat(name.constData(), &written) == 0 && written.st_gid != old.groupId()) {
            [[maybe_unused]] const int kept = ::chown(name.constData(), static_cast<uid_t>(-1),
                                                      static_cast<gid_t>(old.groupId()));
        }
    }
#endif
    return {};
}

} // namespace vindle
