#pragma once

#include "config/MemoryMap.h"
#include "config/OptionRules.h"
#include "ui/main/MainWindow.h"

#include <array>
#include <string>
#include <utility>

namespace vindle {

// One combination of the choices the option rules read, made one after
// another through the controls as a person makes them.
struct Choice
{
    int mode;
    int rs;
    int lr;
    int es;
    bool motion;
    int banks;
};

inline std::string describe(const Choice& c)
{
    return "mode " + std::to_string(c.mode) + ", RS " + std::to_string(c.rs) + ", LR " +
           std::to_string(c.lr) + ", ES " + std::to_string(c.es) + (c.motion ? ", motion" : "") +
           ", banks " + std::to_string(c.banks);
}

// The choices of `c` in the order they are made, each as the location that
// stores it and the value chosen.
inline std::array<std::pair<int, int>, 8> choiceSteps(const Choice& c)
{
    return {{{kSendersLocation, 1},
             {kFrequencyLocation, 0},
             {kInputBanksLocation, c.banks},
             {kModeLocation, c.mode},
             {kRsDeviceLocation, c.rs},
             {kLrDeviceLocation, c.lr},
             {kEsDeviceLocation, c.es},
             {kMotionInputsLocation, c.motion ? 1 : 0}}};
}

// Makes one choice through its control, whose handlers run the rules.
inline void choose(MainWindow& main, int location, int value)
{
    switch (location) {
    case kInputBanksLocation:
        main.DInputs().setValue(value);
        break;
    case kMotionInputsLocation:
        main.MotionInputs().setValue(value);
        break;
    default:
        main.get<OptionGroup>(locationInfo(location).control).select(value);
        break;
    }
}

// Every combination the sweeps go over.
template <class Check> void forEachChoice(Check check)
{
    for (int mode = 0; mode <= 4; ++mode)
        for (int rs = 0; rs <= 12; ++rs)
            for (int lr = 0; lr <= 3; ++lr)
                for (int es = 0; es <= 2; ++es)
                    for (const bool motion : {false, true})
                        for (const int banks : {0, 2})
                            check(Choice{mode, rs, lr, es, motion, banks});
}

} // namespace vindle
