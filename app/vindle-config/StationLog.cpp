#include "StationLog.h"

#include <QCoreApplication>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
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
    const auto notRegular = [this, &path] {
        return tr("Cannot keep %1 in %2: it is not a regular file.").arg(what_, path);
    };
    if (::stat(name.constData(), &info) == 0 && !S_ISREG(info.st_mode))
        return notRegular();
    // Non-blocking, so that a FIFO put there meanwhile cannot hold the
    // program; it is refused below.
    fd_ = ::open(name.constData(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0644);
    if (fd_ < 0)
        return tr("Cannot open %1 %2: %3.").arg(what_, path, systemReason(errno));
    if (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd_);
        fd_ = -1;
        return notRegular();
    }
    return {};
}

bool StationLog::isFile(const QString& path) const
{
    struct stat log = {};
    struct stat other = {};
    const QByteArray name = path.toLocal8Bit();
    return fd_ >= 0 && ::fstat(fd_, &log) == 0 && ::stat(name.constData(), &other) == 0 &&
           log.st_dev == other.st_dev && log.st_ino == other.st_ino;
}

QString StationLog::read(const std::function<void(std::string_view)>& lines) const
{
    constexpr std::size_t kLongestLine = 1024 * 1024;
    std::string pending;
    bool skipping = false;
    char block[64 * 1024];
    for (off_t at = 0;;) {
        const ssize_t got = ::pread(fd_, block, sizeof block, at);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return tr("Cannot read %1 %2: %3.").arg(what_, path_, systemReason(errno));
        if (got == 0)
            break;
        at += got;
        pending.append(block, static_cast<std::size_t>(got));
        const std::size_t end = pending.rfind('\n');
        if (end == std::string::npos) {
            if (pending.size() > kLongestLine) {
                pending.clear();
                skipping = true;
            }
            continue;
        }
        std::string_view whole(pending.data(), end + 1);
        if (skipping) {
            whole.remove_prefix(whole.find('\n') + 1);
            skipping = false;
        }
        lines(whole);
        pending.erase(0, end + 1);
    }
    if (!pending.empty() && !skipping)
        lines(pending);
    return {};
}

QString StationLog::append(const std::string& line)
{
    const auto cannotWrite = [this](int error) {
        return tr("Cannot write to %1 %2: %3.").arg(what_, path_, systemReason(error));
    };
    // One writer at a time, so that a line cut short is taken back whole,
    // and nobody else's with it.
    while (::flock(fd_, LOCK_EX) != 0) {
        if (errno != EINTR)
            return cannotWrite(errno);
    }
    struct Unlock
    {
        int fd;
        ~Unlock() { ::flock(fd, LOCK_UN); }
    } unlock{fd_};
    struct stat info = {};
    if (::fstat(fd_, &info) != 0)
        return cannotWrite(errno);
    // A last line cut short by a crash or a pulled plug is ended first, so
    // that this one stays a line of its own.
    char last = '\n';
    if (info.st_size > 0 && ::pread(fd_, &last, 1, info.st_size - 1) != 1)
        return cannotWrite(errno);
    const std::string whole = (last == '\n' ? "" : "\n") + line + "\n";
    std::size_t written = 0;
    while (written < whole.size()) {
        const ssize_t now = ::write(fd_, whole.data() + written, whole.size() - written);
        if (now < 0 && errno == EINTR)
            continue;
        if (now <= 0) {
            const int error = now < 0 ? errno : ENOSPC;
            // A line is whole or absent: what part of it went is taken back.
            if (written > 0 && ::ftruncate(fd_, info.st_size) == 0)
                ::fsync(fd_);
            return cannotWrite(error);
        }
        written += static_cast<std::size_t>(now);
    }
    if (::fsync(fd_) != 0)
        return cannotWrite(errno);
    return {};
}

} // namespace vindle::cli
