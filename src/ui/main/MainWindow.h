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
    Label& Label1() const { return *label1_; }
    Label& Label2() const { return *label2_; }
    Label& Label3() const { return *label3_; }
    Label& Label4() const { return *label4_; }
    Label& Label5() const { return *label5_; }
    Label& Label6() const { return *label6_; }
    Label& Label7() const { return *label7_; }
    Label& Label8() const { return *label8_; }
    Label& Label9() const { return *label9_; }
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
    Frame& Frame1() const { return *frame1_; }
    Frame& Frame2() const { return *frame2_; }
    Frame& Frame3() const { return *frame3_; }
    Frame& Frame4() const { return *frame4_; }
    Frame& Frame5() const { return *frame5_; }
    Frame& Frame6() const { return *frame6_; }
    Frame& Frame7() const { return *frame7_; }
    Frame& Frame8() const { return *frame8_; }
    Frame& Frame9() const { return *frame9_; }
    Frame& Frame10() const { return *frame10_; }
    Frame& Frame11() const { return *frame11_; }
    Frame& Frame12() const { return *frame12_; }
    Frame& Frame14() const { return *frame14_; }
    Frame& Frame15() const { return *frame15_; }
    Frame& Frame16() const { return *frame16_; }
    Frame& Frame17() const { return *frame17_; }
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
    Label* label1_ = nullptr;
    Label* label2_ = nullptr;
    Label* label3_ = nullptr;
    Label* label4_ = nullptr;
    Label* label5_ = nullptr;
    Label* label6_ = nullptr;
    Label* label7_ = nullptr;
    Label* label8_ = nullptr;
    Label* label9_ = nullptr;
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
    Frame* frame1_ = nullptr;
    Frame* frame2_ = nullptr;
    Frame* frame3_ = nullptr;
    Frame* frame4_ = nullptr;
    Frame* frame5_ = nullptr;
    Frame* frame6_ = nullptr;
    Frame* frame7_ = nullptr;
    Frame* frame8_ = nullptr;
    Frame* frame9_ = nullptr;
    Frame* frame10_ = nullptr;
    Frame* frame11_ = nullptr;
    Frame* frame12_ = nullptr;
    Frame* frame14_ = nullptr;
    Frame* frame15_ = nullptr;
    Frame* frame16_ = nullptr;
    Frame* frame17_ = nullptr;
    Frame* versionFrame_ = nullptr;
    std::array<TextBox*, kKeys> keys_{};
    std::array<Label*, kVersionItems> vdat_{};
    std::array<Label*, kVersionItems> vdat2_{};
};

} // namespace vindle
