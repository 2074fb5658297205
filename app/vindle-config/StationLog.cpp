#include "StationLog.h"

#include <QCoreApplication>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vindle::cli {

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("StationLog", text);
}

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace

StationLog::~StationLog()
{
    if (fd_ >= 0)
        ::close(fd_);
}

QString StationLog::open(const QString& path)
{
    path_ = path;
    const QByteArray name = path.toLocal8Bit();
    struct stat info = {};
    const auto notRegular = [&path] {
        return tr("Cannot keep the station log in %1: it is not a regular file.").arg(path);
    };
    if (::stat(name.constData(), &info) == 0 && !S_ISREG(info.st_mode))
        return notRegular();
    // Non-blocking, so that a FIFO put there meanwhile cannot hold the
    // program; it is refused below.
    fd_ = ::open(name.constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0644);
    if (fd_ < 0)
        return tr("Cannot open the station log %1: %2.").arg(path, systemReason(errno));
    if (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd_);
        fd_ = -1;
        return notRegular();
    }
    return {};
}

QString StationLog::append(const std::string& line)
{
    const std::string whole = line + "\n";
    std::size_t written = 0;
    while (written < whole.size()) {
        const ssize_t now = ::write(fd_, whole.data() + written, whole.size() - written);
        if (now < 0 && errno == EINTR)
            continue;
        if (now <= 0)
            return tr("Cannot write to the station log %1: %2.")
                .arg(path_, systemReason(now < 0 ? errno : ENOSPC));
        written += static_cast<std::size_t>(now);
    }
    if (::fsync(fd_) != 0)
        return tr("Cannot write to the station log %1: %2.").arg(path_, systemReason(errno));
    return {};
}

} // namespace vindle::cli
