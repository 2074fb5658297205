#pragma once

#include "ui/model/Label.h"
#include "ui/model/ProgressBar.h"
#include "ui/model/Window.h"

#include <string>

namespace vindle {

// `Working`: shows that a transfer of the configuration is under way and how
// far it has come. Its bar runs over the location numbers 0 to 50. Showing it
// again keeps the text and value it had until the caller changes them.
class ProgressWindow final : public Window
{
public:
    static constexpr double kLevelMaximum = 50;

    ProgressWindow();

    void setText(std::string text) { label_.setCaption(std::move(text)); }
    void setProgress(double value) { level_.setValue(value); }

    const Label& Label1() const { return label_; }
    const ProgressBar& Level() const { return level_; }

private:
    Label& label_;
    ProgressBar& level_;
};

} // namespace vindle
