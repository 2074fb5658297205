#pragma once

#include "ui/advanced/AdvancedWindow.h"
#include "ui/limiter/LimiterWindow.h"
#include "ui/main/MainWindow.h"
#include "ui/motion/MotionTimesWindow.h"

#include <functional>
#include <memory>
#include <vector>

namespace vindle {

// The four configuration windows of one program run. The main window exists
// from the start; each secondary window is created, hidden, the first time
// anything asks for it, and lives, shown or hidden, until the owner goes.
// The constructor installs the logic of the main window: the value handlers,
// the option rules and the context help.
class ConfigWindows
{
public:
    using CreatedListener = std::function<void(Window&)>;

    ConfigWindows();
    ~ConfigWindows();
    ConfigWindows(const ConfigWindows&) = delete;
    ConfigWindows& operator=(const ConfigWindows&) = delete;

    MainWindow& mainWindow() { return main_; }
    const MainWindow& mainWindow() const { return main_; }
    AdvancedWindow& advanced();
    MotionTimesWindow& motionTimes();
    LimiterWindow& limiter();

    // Whether a secondary window has been created yet.
    bool hasAdvanced() const { return advanced_ != nullptr; }
    bool hasMotionTimes() const { return motionTimes_ != nullptr; }
    bool hasLimiter() const { return limiter_ != nullptr; }

    // Hides each secondary window made so far; makes none to hide it.
    void hideSecondaryWindows();

    // The option rules of the main window.
    void Rules();

    // The fewest input banks the module allows (1 when it always has one).
    // The option rules restore it as DInputs' minimum whenever mode 1, which
    // allows no banks, is left.
    int inputBankFloor() const { return inputBankFloor_; }
    void setInputBankFloor(int banks) { inputBankFloor_ = banks; }

    // Hook: called with each secondary window right after its creation, so
    // that it can be rendered. Every listener added hears of every creation.
    void onWindowCreated(CreatedListener listener) { created_.push_back(std::move(listener)); }

private:
    template <class W> W& secondary(std::unique_ptr<W>& window);

    MainWindow main_;
    std::unique_ptr<AdvancedWindow> advanced_;
    std::unique_ptr<MotionTimesWindow> motionTimes_;
    std::unique_ptr<LimiterWindow> limiter_;
    std::vector<CreatedListener> created_;
    int inputBankFloor_ = 0;
};

} // namespace vindle
