#include "ui/limiter/Volt.h"

#include "ui/model/NumberText.h"

namespace vindle {

namespace {

// Volts per count, as the module's documentation gives it (not 5/255).
constexpr double kVoltsPerCount = 0.019608;
constexpr std::size_t kWidth = 4;

} // namespace

std::string VOLT(int count)
{
    std::string text = plainNumberText(count * kVoltsPerCount).substr(0, kWidth);
    if (text.size() == 1)
        text += ".00";
    // Three characters get one zero; a shorter fraction (never met for the
    // counts 0 to 255) is padded the same way so that the width holds.
    text.resize(kWidth, '0');
    return text;
}

} // namespace vindle
