#include "ui/progress/ProgressWindow.h"

namespace vindle {

ProgressWindow::ProgressWindow()
    : Window("Working", "Working..."),
      label_(add<Label>("Label1", kNoIndex, nullptr, "Storing Configuration...")),
      level_(add<ProgressBar>("Level", kNoIndex, nullptr, 0.0, kLevelMaximum))
{
    level_.setNamedBy(label_);
    // The transfer it shows goes on whatever the user does with the window:
    // closing it would only hide how far it has come.
    setClosable(false);
}

} // namespace vindle
