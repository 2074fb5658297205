#pragma once

#include "link/ByteLink.h"
#include "link/Clock.h"
#include "program/MonitorReceiver.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace vindle {

class MonitorWindow;

// A file a capture appends to, in whole lines.
class CaptureFile
{
public:
    virtual ~CaptureFile() = default;
    // Appends `lines` (each ended by a line feed) whole, or none of them.
    // False when they could not be written; error() says why.
    virtual bool append(const std::string& lines) = 0;
    virtual std::string error() const = 0;
};

// Where the data monitor's files come from: the shell asks the person.
class MonitorFiles
{
public:
    virtual ~MonitorFiles() = default;
    // Save Lines…: asks where, and saves `text` there; `saved` hears the
    // file's name once it holds the text, at once or later. A save that
    // fails the shell says itself.
    using Saved = std::function<void(const std::string& name)>;
    virtual void saveLines(const std::string& text, Saved saved) = 0;
    // Capture to File…: asks where. Once the file is open, `opened` takes it
    // with the name a person knows it by, at once or later; it is not called
    // when the person chose none.
    using Opened = std::function<void(const std::string& name, std::unique_ptr<CaptureFile>)>;
    virtual void chooseCapture(Opened opened) = 0;
};

// The data monitor window as the monitor's lines and its capture: its check
// boxes frame the lines, its display draws them in batches, and its Baud
// options set the port's bit rate. Capture to File… keeps every read from
// the port in the file the shell opens, and every change of bit rate, until
// Stop Capture, a file that fails, or the end of the monitor.
class MonitorWindowLines final : public MonitorLines, public MonitorCapture
{
public:
    // Without `files`, Save Lines… and Capture to File… are not offered.
    MonitorWindowLines(MonitorWindow& window, ByteLink& link, const WallClock& wall,
                       MonitorFiles* files = nullptr);

    bool headerFraming() const override;
    bool keyFraming() const override;
    void add(const MonitorLine& line) override;
    std::size_t undrawn() const override;
    void draw() override;

    bool keeping() const override { return file_ != nullptr; }
    void readBegins() override { readOpen_ = file_ != nullptr; }
    void keep(std::string line, std::size_t bytes) override;
    bool pending() const override { return !kept_.empty(); }
    void write() override;

    // The capture goes into `file` from now on, in place of any before.
    void startCapture(const std::string& name, std::unique_ptr<CaptureFile> file);
    // What is kept is written, and the capture ends: at once, or with the
    // read from the port being taken now.
    void stopCapture();
    // The capture's file could not be written (the shell found out later):
    // it ends at once.
    void captureFailed(const std::string& reason);

private:
    // Writes everything kept and ends the capture.
    void finishCapture();
    void endCapture(const std::optional<std::string>& failure);

    MonitorWindow& window_;
    const WallClock& wall_;
    MonitorFiles* files_;
    std::unique_ptr<CaptureFile> file_;
    std::string name_;
    std::string kept_;
    // A read is being taken: lines about what happened meanwhile (a new bit
    // rate) come after it, and a stop waits for it.
    bool readOpen_ = false;
    std::string afterRead_;
    bool stopping_ = false;
    std::uint64_t bytes_ = 0;
    std::uint64_t bytesKept_ = 0;
    std::chrono::system_clock::time_point offsetTaken_{};
};

} // namespace vindle
