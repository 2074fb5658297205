#include "InputLines.h"

#include <cerrno>
#include <unistd.h>
#include <utility>

namespace vindle::cli {

InputLines::InputLines(EventPump& pump, int descriptor) : pump_(pump), descriptor_(descriptor) {}

InputLines::~InputLines() = default;

std::optional<std::string> InputLines::next(const std::function<bool()>& stop)
{
    for (;;) {
        if (const std::size_t end = pending_.find('\n'); end != std::string::npos) {
            std::string line = pending_.substr(0, end);
            pending_.erase(0, end + 1);
            return line;
        }
        if (ended_) {
            if (pending_.empty())
                return std::nullopt;
            return std::exchange(pending_, std::string());
        }
        if (stop())
            return std::nullopt;
        if (!notifier_) {
            notifier_ = std::make_unique<QSocketNotifier>(descriptor_, QSocketNotifier::Read);
            QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { readSome(); });
        }
        notifier_->setEnabled(true);
        pump_.waitFor(EventPump::kNoLimit);
        // Nobody reads while no line is asked for.
        notifier_->setEnabled(false);
    }
}

void InputLines::readSome()
{
    char bytes[4096];
    const ssize_t got = ::read(descriptor_, bytes, sizeof bytes);
    if (got > 0) {
        pending_.append(bytes, static_cast<std::size_t>(got));
        return;
    }
    if (got < 0 && (errno == EINTR || errno == EAGAIN))
        return;
    // The end of input, or input that cannot be read, which is the same here.
    ended_ = true;
    notifier_->setEnabled(false);
}

} // namespace vindle::cli
