#pragma once

#include <QString>
#include <functional>
#include <string>
#include <string_view>

namespace vindle::cli {

// The station log: a file that only ever grows by whole lines. Each line is
// written in one piece under a lock and flushed to the disk before append()
// returns, so that a crash or a pulled plug loses at most the line being
// written, earlier lines are never rewritten, and a line cut short by a crash
// is ended before the next.
class StationLog
{
public:
    // `what` names the file in messages ("the station log").
    explicit StationLog(QString what = QStringLiteral("the station log")) : what_(std::move(what))
    {}
    ~StationLog();
    StationLog(const StationLog&) = delete;
    StationLog& operator=(const StationLog&) = delete;

    // Opens `path` for appending, creating it. A path that holds something
    // other than a regular file (a FIFO, a directory, a device) is refused.
    // Returns why it cannot be used, or an empty text.
    QString open(const QString& path);
    bool isOpen() const { return fd_ >= 0; }
    const QString& path() const { return path_; }

    // Whether `path` names the log's own file (the same device and inode,
    // under whatever name).
    bool isFile(const QString& path) const;

    // Hands the lines written so far to `lines`, whole lines at a time (a
    // last line cut short by a crash too; one longer than a megabyte is no
    // line of this log and is skipped); why they could not be read, or an
    // empty text.
    QString read(const std::function<void(std::string_view lines)>& lines) const;

    // `line` and a line end, whole or not at all (a write cut short, by a full
    // disk or a file size limit, is taken back); why it could not be written,
    // or an empty text.
    QString append(const std::string& line);

private:
    QString what_;
    int fd_ = -1;
    QString path_;
};

} // namespace vindle::cli
