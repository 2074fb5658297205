#pragma once

#include "ui/model/Dialogs.h"

#include <string>

namespace vindle::cli {

// The messages the windows show as dialogs, written to stderr in the same
// words.
class StderrDialogs final : public Dialogs
{
public:
    void showMessage(const std::string& text) override;
};

} // namespace vindle::cli
