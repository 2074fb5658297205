#pragma once

#include <string>

namespace vindle {

// Modal messages with a single OK button. The call returns once the user has
// acknowledged the message.
class Dialogs
{
public:
    virtual ~Dialogs() = default;
    virtual void showMessage(const std::string& text) = 0;
};

} // namespace vindle
