#pragma once

#include "StationLog.h"
#include "program/MonitorReceiver.h"

#include <QString>
#include <functional>
#include <string>

namespace vindle::cli {

// monitor --capture FILE: every byte read, one JSON line per read, appended
// to FILE in whole lines. What the monitor keeps is written whenever it
// draws its lines (at least once a second while bytes come, at once when the
// line goes quiet); a write that fails is said once, and the monitor ends.
class CaptureFile final : public MonitorCapture
{
public:
    CaptureFile() : file_(QStringLiteral("the capture file")) {}

    // Why FILE cannot take the capture, or an empty text.
    QString open(const QString& path) { return file_.open(path); }
    // Why the last write failed, or an empty text.
    const QString& failure() const { return failure_; }

    void keep(std::string line, std::size_t bytes) override;
    bool pending() const override { return !kept_.empty(); }
    void write() override;
    // Called when a write fails.
    void onFailure(std::function<void()> failed) { failed_ = std::move(failed); }

private:
    StationLog file_;
    // The lines not written yet, each ended but the last.
    std::string kept_;
    QString failure_;
    std::function<void()> failed_;
};

} // namespace vindle::cli
