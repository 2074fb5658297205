#include "program/AnalogRefresh.h"

#include "link/DeviceCommands.h"
#include "ui/limiter/LimiterWindow.h"
#include "ui/limiter/Volt.h"
#include "ui/model/NumberText.h"

namespace vindle {

void AnalogRefresh::refresh(LimiterWindow& limiter)
{
    limiter.Command1().setEnabled(false);
    if (const auto readings = readAnalogInputs(link_)) {
        for (int channel = 0; channel < LimiterWindow::kChannels; ++channel) {
            ProgressBar& level = limiter.Level(channel);
            level.setValue((*readings)[static_cast<std::size_t>(channel)].toNumber());
            const int shown = static_cast<int>(level.value());
            limiter.LevelLabel(channel).setCaption(numberText(shown));
            limiter.Volts(channel).setCaption(VOLT(shown) + " Volts");
        }
    }
    limiter.Command1().setEnabled(true);
}

} // namespace vindle
