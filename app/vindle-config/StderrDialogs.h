#pragma once

#include "ui/model/Dialogs.h"

#include <functional>
#include <string>

namespace vindle::cli {

// The messages the windows show as dialogs, written to stderr in the same
// words. A filter sees each message first and may keep it from being written
// (when the command says it better itself).
class StderrDialogs final : public Dialogs
{
public:
    // True to write the message.
    using Filter = std::function<bool(const std::string& text)>;

    void setFilter(Filter filter) { filter_ = std::move(filter); }
    void showMessage(const std::string& text) override;

private:
    Filter filter_;
};

} // namespace vindle::cli
