#include "program/MonitorWindowLines.h"

#include "ui/monitor/MonitorWindow.h"

#include <utility>

namespace vindle {

namespace {

// How often the clock's distance from UTC is taken again (it moves twice a
// year).
constexpr std::chrono::minutes kOffsetInterval{1};

} // namespace

MonitorWindowLines::MonitorWindowLines(MonitorWindow& window, ByteLink& link, const WallClock& wall,
                                       MonitorFiles* files)
    : window_(window), wall_(wall), files_(files)
{
    window_.onBitRateChange([this, &link](int bitRate) {
        link.port().setBitRate(bitRate);
        if (!file_)
            return;
        std::string line = captureBitRateLine(wall_.now(), bitRate) + '\n';
        if (readOpen_)
            afterRead_ += line;
        else
            kept_ += line;
    });
    window_.SaveLines().setEnabled(files_ != nullptr);
    window_.CaptureButton().setEnabled(files_ != nullptr);
    window_.SaveLines().onClick([this] {
        if (!files_)
            return;
        const std::size_t lines = window_.linesKept();
        files_->saveLines(window_.linesToSave(), [this, lines](const std::string& name) {
            window_.linesSaved(lines, name);
        });
    });
    window_.CaptureButton().onClick([this] {
        if (file_)
            stopCapture();
        else if (files_)
            files_->chooseCapture(
                [this](const std::string& name, std::unique_ptr<CaptureFile> file) {
                    startCapture(name, std::move(file));
                });
    });
    offsetTaken_ = wall_.now();
    window_.setUtcOffset(wall_.utcOffset(offsetTaken_));
}

bool MonitorWindowLines::headerFraming() const
{
    return window_.HeaderCheck().value() == CheckBox::kChecked;
}

bool MonitorWindowLines::keyFraming() const
{
    return window_.KeysCheck().value() == CheckBox::kChecked;
}

void MonitorWindowLines::add(const MonitorLine& line)
{
    window_.AddLine(line);
}

std::size_t MonitorWindowLines::undrawn() const
{
    return window_.unflushed();
}

void MonitorWindowLines::draw()
{
    if (const auto now = wall_.now(); now - offsetTaken_ >= kOffsetInterval) {
        offsetTaken_ = now;
        window_.setUtcOffset(wall_.utcOffset(now));
    }
    window_.FlushLines();
}

void MonitorWindowLines::keep(std::string line, std::size_t bytes)
{
    readOpen_ = false;
    if (!file_)
        return;
    kept_ += line;
    kept_ += '\n';
    kept_ += std::exchange(afterRead_, {});
    bytesKept_ += bytes;
    if (stopping_)
        stopCapture();
}

void MonitorWindowLines::write()
{
    if (!file_ || kept_.empty())
        return;
    if (!file_->append(kept_)) {
        endCapture(file_->error());
        return;
    }
    kept_.clear();
    bytes_ += bytesKept_;
    bytesKept_ = 0;
}

void MonitorWindowLines::startCapture(const std::string& name, std::unique_ptr<CaptureFile> file)
{
    if (file_)
        finishCapture();
    file_ = std::move(file);
    name_ = name;
    bytes_ = bytesKept_ = 0;
    window_.captureBegan(name_);
}

void MonitorWindowLines::stopCapture()
{
    if (!file_)
        return;
    if (readOpen_) {
        stopping_ = true;
        return;
    }
    finishCapture();
}

void MonitorWindowLines::finishCapture()
{
    kept_ += std::exchange(afterRead_, {});
    write();
    if (file_)
        endCapture(std::nullopt);
}

void MonitorWindowLines::captureFailed(const std::string& reason)
{
    if (file_)
        endCapture(reason);
}

void MonitorWindowLines::endCapture(const std::optional<std::string>& failure)
{
    file_.reset();
    kept_.clear();
    afterRead_.clear();
    readOpen_ = stopping_ = false;
    bytesKept_ = 0;
    window_.captureEnded(name_, bytes_, failure);
}

} // namespace vindle
