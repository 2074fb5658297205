#pragma once

#include "base/AtIndex.h"
#include "ui/model/Button.h"
#include "ui/model/CheckBox.h"
#include "ui/model/Frame.h"
#include "ui/model/Label.h"
#include "ui/model/OptionGroup.h"
#include "ui/model/Slider.h"
#include "ui/model/TextBox.h"
#include "ui/model/Window.h"

#include <array>
#include <string_view>

namespace vindle {

// The maker's web address at the end of the main window's title.
inline constexpr std::string_view kMakerWebAddress = "www.varnel.example";

// Captions of Label1, which names the source of the inputs.
inline constexpr std::string_view kProcessorInputs = "Processor Inputs";
inline constexpr std::string_view kExternalInputs = "External Inputs";

// The two captions of the A/D resolution button ADBITS, which are its state.
inline constexpr std::string_view kEightBits = "8-BIT";
inline constexpr std::string_view kTenBits = "10-BIT";

// The main configuration window as a model: every control by its name, with
// its index, caption, start state, range and enclosing frame, and the layout
// in twips. It holds no logic; ConfigWindows installs the handlers.
//
// Controls are reached through the typed accessors below, named as the
// controls are (main.Mode().select(1), main.DInputs().setValue(3)), or by
// name through Window::get<T>(name, index).
class MainWindow : public Window
{
public:
    static constexpr int kKeys = 3;
    static constexpr int kVersionItems = 4;

    MainWindow();

    OptionGroup& Mode() const { return *mode_; }
    OptionGroup& Senders() const { return *senders_; }
    OptionGroup& NCNO() const { return *ncno_; }
    OptionGroup& Frequency() const { return *frequency_; }
    OptionGroup& RSDevice() const { return *rsdevice_; }
    OptionGroup& Baud() const { return *baud_; }
    OptionGroup& LRDevice() const { return *lrdevice_; }
    OptionGroup& LRBaud() const { return *lrbaud_; }
    OptionGroup& ESDevice() const { return *esdevice_; }
    OptionGroup& ESBaud() const { return *esbaud_; }
    CheckBox& MotionInputs() const { return *motionInputs_; }
    CheckBox& LRKeys() const { return *lrkeys_; }
    CheckBox& ESKeys() const { return *eskeys_; }
    Slider& Debounce() const { return *debounce_; }
    Slider& DInputs() const { return *dinputs_; }
    Slider& Interval() const { return *interval_; }
    Slider& LRReps() const { return *lrreps_; }
    Slider& ESReps() const { return *esreps_; }
    Label& InputSource() const { return *inputSource_; }
    Label& InputBanksValue() const { return *inputBanksValue_; }
    Label& IntervalValue() const { return *intervalValue_; }
    Label& IntervalSentence() const { return *intervalSentence_; }
    Label& LrRepeatsValue() const { return *lrRepeatsValue_; }
    Label& NumberCaption() const { return *numberCaption_; }
    Label& KeysCaption() const { return *keysCaption_; }
    Label& EsRepeatsValue() const { return *esRepeatsValue_; }
    Label& DebounceValue() const { return *debounceValue_; }
    Label& HELP() const { return *help_; }
    TextBox& Q4T() const { return *q4t_; }
    Button& ReadSettings() const { return *readSettings_; }
    Button& StoreSettings() const { return *storeSettings_; }
    Button& FactoryDefaults() const { return *factoryDefaults_; }
    Button& TestConfiguration() const { return *testConfiguration_; }
    Button& GetVersion() const { return *getVersion_; }
    Button& MoreOptions() const { return *moreOptions_; }
    Button& ADBITS() const { return *adbits_; }
    Button& ExitVersion() const { return *exitVersion_; }
    // The frames and labels are named for what they hold; each keeps the
    // design's name (Frame14, Label9...) as name(), for the layout, the
    // accessibility tree and the tests.
    Frame& ModeFrame() const { return *modeFrame_; }
    Frame& DebounceFrame() const { return *debounceFrame_; }
    Frame& HelpFrame() const { return *helpFrame_; }
    Frame& CapabilitiesFrame() const { return *capabilitiesFrame_; }
    Frame& LrBitRateFrame() const { return *lrBitRateFrame_; }
    Frame& InputBanksFrame() const { return *inputBanksFrame_; }
    Frame& EsBitRateFrame() const { return *esBitRateFrame_; }
    Frame& SwitchTypeFrame() const { return *switchTypeFrame_; }
    Frame& FrequencyFrame() const { return *frequencyFrame_; }
    Frame& Rs232Frame() const { return *rs232Frame_; }
    Frame& LrRepeatsFrame() const { return *lrRepeatsFrame_; }
    Frame& NumberAndKeysFrame() const { return *numberAndKeysFrame_; }
    Frame& LrFrame() const { return *lrFrame_; }
    Frame& EsFrame() const { return *esFrame_; }
    Frame& Rs232BaudFrame() const { return *rs232BaudFrame_; }
    Frame& EsRepeatsFrame() const { return *esRepeatsFrame_; }
    Frame& VersionFrame() const { return *versionFrame_; }
    TextBox& Keys(int index) const { return *atIndex(keys_, index); }
    Label& VDAT(int index) const { return *atIndex(vdat_, index); }
    Label& VDAT2(int index) const { return *atIndex(vdat2_, index); }

private:
    friend struct MainWindowTables;

    OptionGroup* mode_ = nullptr;
    OptionGroup* senders_ = nullptr;
    OptionGroup* ncno_ = nullptr;
    OptionGroup* frequency_ = nullptr;
    OptionGroup* rsdevice_ = nullptr;
    OptionGroup* baud_ = nullptr;
    OptionGroup* lrdevice_ = nullptr;
    OptionGroup* lrbaud_ = nullptr;
    OptionGroup* esdevice_ = nullptr;
    OptionGroup* esbaud_ = nullptr;
    CheckBox* motionInputs_ = nullptr;
    CheckBox* lrkeys_ = nullptr;
    CheckBox* eskeys_ = nullptr;
    Slider* debounce_ = nullptr;
    Slider* dinputs_ = nullptr;
    Slider* interval_ = nullptr;
    Slider* lrreps_ = nullptr;
    Slider* esreps_ = nullptr;
    Label* inputSource_ = nullptr;
    Label* inputBanksValue_ = nullptr;
    Label* intervalValue_ = nullptr;
    Label* intervalSentence_ = nullptr;
    Label* lrRepeatsValue_ = nullptr;
    Label* numberCaption_ = nullptr;
    Label* keysCaption_ = nullptr;
    Label* esRepeatsValue_ = nullptr;
    Label* debounceValue_ = nullptr;
    Label* help_ = nullptr;
    TextBox* q4t_ = nullptr;
    Button* readSettings_ = nullptr;
    Button* storeSettings_ = nullptr;
    Button* factoryDefaults_ = nullptr;
    Button* testConfiguration_ = nullptr;
    Button* getVersion_ = nullptr;
    Button* moreOptions_ = nullptr;
    Button* adbits_ = nullptr;
    Button* exitVersion_ = nullptr;
    Frame* modeFrame_ = nullptr;
    Frame* debounceFrame_ = nullptr;
    Frame* helpFrame_ = nullptr;
    Frame* capabilitiesFrame_ = nullptr;
    Frame* lrBitRateFrame_ = nullptr;
    Frame* inputBanksFrame_ = nullptr;
    Frame* esBitRateFrame_ = nullptr;
    Frame* switchTypeFrame_ = nullptr;
    Frame* frequencyFrame_ = nullptr;
    Frame* rs232Frame_ = nullptr;
    Frame* lrRepeatsFrame_ = nullptr;
    Frame* numberAndKeysFrame_ = nullptr;
    Frame* lrFrame_ = nullptr;
    Frame* esFrame_ = nullptr;
    Frame* rs232BaudFrame_ = nullptr;
    Frame* esRepeatsFrame_ = nullptr;
    Frame* versionFrame_ = nullptr;
    std::array<TextBox*, kKeys> keys_{};
    std::array<Label*, kVersionItems> vdat_{};
    std::array<Label*, kVersionItems> vdat2_{};
};

} // namespace vindle
