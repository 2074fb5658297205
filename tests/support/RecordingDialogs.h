#pragma once

#include "ui/model/Dialogs.h"

#include <functional>
#include <string>
#include <vector>

namespace vindle::test {

// Messages acknowledged at once, and kept for the test to look at.
class RecordingDialogs final : public Dialogs
{
public:
    void showMessage(const std::string& text) override
    {
        messages.push_back(text);
        if (onMessage)
            onMessage(text);
    }

    std::vector<std::string> messages;
    std::function<void(const std::string&)> onMessage;
};

} // namespace vindle::test
