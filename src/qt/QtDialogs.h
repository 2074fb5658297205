#pragma once

#include "ui/model/Dialogs.h"

namespace vindle {

// The program's messages as modal boxes with one OK button, titled with the
// application's name, over the window that is active.
class QtDialogs final : public Dialogs
{
public:
    void showMessage(const std::string& text) override;
};

} // namespace vindle
