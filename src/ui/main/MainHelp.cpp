#include "ui/main/MainHelp.h"

#include "ui/main/MainWindow.h"

#include <vector>

namespace vindle {

namespace {

// Matches every member of a control array.
constexpr int kAnyIndex = -2;

struct HelpTarget
{
    const char* control;
    int index;
};

struct HelpRow
{
    std::vector<HelpTarget> targets;
    const char* text;
};

constexpr const char* kProcessorInputsHelp =
    "Processor Inputs:  This Means the Controller is Collecting Data from the 8-Channels Built "
    "Into the Microprocessor of the Vindle Module.";

constexpr const char* kExternalInputsHelp =
    "External Inputs:  This Means the Controller is Collecting Data from Inputs that are Connected "
    "to the Microprocessor of the Vindle Module via an Expansion Module Connected to the expansion "
    "port of the Vindle Module.  Some Vindle Modules have these inputs integrated onto the same "
    "board.  The On-Board inputs Cannot Be Used when External Inputs is chosen.";

const std::vector<HelpRow> kHelp{
    {{{"Frame1", kNoIndex}}, "Select a mode of operation for this Vindle Module."},
    {{{"Mode", 0}},
     "This mode of operation reads data from the Vindle Module and communicates these data to a "
     "remote Zeto Device or Computer via Wireless or RS-232 Communications.  This is the most "
     "commonly used mode of operation for this device."},
    {{{"Mode", 1}},
     "Limiter Mode allows you to activate relays based on incomming voltage levels (0-5VDC MAX).  "
     "You can set relays to activate when a voltage reaches a certain level and deactivate if the "
     "voltage gets to high.  This is useful for battery charging applications, day/night light "
     "level monitoring, audio detection, and other types of applications where on/off is not "
     "enough information to activate a relay.  You can set relays to activate inside or outside a "
     "specified range.  When limiter mode is used, the first 7 inputs are read as analog voltages. "
     " The 8th input is vindled on Relay 8 of the controller."},
    {{{"Mode", 2}},
     "This mode of operation allows the vindle module to act as a Parallel to Serial encoder, "
     "sending data to a computer via wireless or RS-232 communications."},
    {{{"Mode", 3}},
     "This mode of operation allows the vindle module to act as a Serial to Parallel Converter, "
     "using the 8 connections as digital outputs."},
    {{{"Mode", 4}},
     "This mode of operation allows the vindle module to automatically read 7 channels of 8/10 bit "
     "Analog Data and Send these Data to a Computer via wireless or RS-232 communications."},
    {{{"MotionInputs", kNoIndex}},
     "When connecting Motion Detectors to a Vindle Module, you can activate relays for different "
     "periods of time.  For instance, if Motion Detector 1 detects motion, it can activate relay 1 "
     "for 5 minutes (or a different period of time).  Compatible motion detectors will have a "
     "normally closed output."},
    {{{"Senders", 0}},
     "Choose this option if your Vindle Module does NOT include an Antenna.  This option is used "
     "to communicate data via RS-232 communications ONLY, and cannot be used for any form of "
     "wireless data applications."},
    {{{"Senders", 1}},
     "Choose this option if you have a on-board RF transmitter built into your vindle module, look "
     "for a small black part that says Linx TXM418LR."},
    {{{"Senders", 2}},
     "Choose this option if you have a on-board RF transmitter built into your vindle module, look "
     "for a small black part that says Linx TXM916ES."},
    {{{"Frame6", kNoIndex}},
     "This slider defines how many groups of 8 inputs are connected via the expansion port.  Set "
     "this value to 0 when using the 8 on-board inputs.  If you are using external expansion "
     "modules, or if your vindle module has more than 8 inputs, set this slider to equal the total "
     "number of inputs divided by 8.  For instance, if you are using a 32 input expansion module "
     "(or your vindle module has 32 inputs), 32 divided by 8 is 4.  So you would set this slider "
     "to equal 4.  The value of this slider controls how many groups of 8 inputs are scanned.  You "
     "can set the slider to lower values if you would like to control fewer relays."},
    {{{"Frame2", kNoIndex}},
     "Use a low debounce time to make the Vindle Module very responsive to your inputs.  Use a "
     "long debounce time when you want to wait for the inputs to become stable before processing "
     "the incomming data.  Low values improve speed while higher values improve contact closure "
     "debounce immunity.  A default value of 25 is perfect for most applications."},
    {{{"Frame8", kNoIndex}},
     "The Vindle Module can be connected to many kinds of sensors and switches.  If you are "
     "connecting switches, you can choose weather you are using Normally Open or Normally Closed "
     "switches.  If you are using Motion Detectors, the Normally Closed Option is selected for you "
     "automatically (all motion detectors have a Normally Closed output)."},
    {{{"Q4T", kNoIndex}},
     "This field must contain a number from 0-255.  This Q4T device number is used to either "
     "identify the vindle module on a network."},
    {{{"Label6", kNoIndex}},
     "This field must contain a number from 0-255.  This Q4T device number is used to identify the "
     "vindle module on a RS-232 network."},
    {{{"Keys", kAnyIndex}, {"Label7", kNoIndex}},
     "Each of these fields must contain a number from 0-255.  These Keys are used to either "
     "identify the vindle module or to speak to a specific wireless Zeto device that has the Keys "
     "Required option enabled."},
    {{{"Frequency", 0}},
     "This option tells the vindle module to periodically send data on a time based interval.  Use "
     "the slider below to tell the vindle module fow frequently to send data."},
    {{{"Frequency", 1}},
     "This option tells the vindle module to constantly send data, this option is NOT recomended "
     "for RF communications because it ties up the communication frequency, making it unable to be "
     "used with other devices."},
    {{{"Frequency", 2}},
     "This option tells the vindle module to send data when it has detected a change.  This is the "
     "best setting for most configurations."},
    {{{"RSDevice", 0}},
     "When this option is selected, the vindle module will not send any aquired data out the "
     "RS-232 port of the vindle module."},
    {{{"RSDevice", 1}},
     "When this option is selected, the vindle module will send data out the serial port to your "
     "computer indicating the data that has been collected."},
    {{{"RSDevice", 12}},
     "When this option is selected, the vindle module reads analog input data from the first 7 "
     "inputs and generates control commands capable of controlling the first 7 channels on the PWM "
     "series controllers.  The 8th channel can only be turned on or off since analog to digital "
     "converstion is not possible on the 8th input of the vindle module."},
    {{{"Frame16", kNoIndex}},
     "Choose an RS-232 data rate.  These options control how fast data is sent from the vindle "
     "module to the remote device (or computer).  Faster data rates mean shorter communication "
     "distances.  Some devices do not support all the available baud rates. IMPORTANT NOTE: ANY "
     "Zeto DEVICE THAT IS OPTOISOLATED WILL REQUIRE THE PC/MAC JUMPER SET TO THE MAC POSITION FOR "
     "PROPER OPERATION.  THIS INCLUDES THE CADRIX AND DASKON SERIES RELAY CONTROLLERS.  THESE "
     "DEVICES WILL NOT WORK UNTIL THE JUMPER HAS BEEN CHANGED."},
    {{{"RSDevice", 2}},
     "When this option is selected, the vindle module will read inputs and generate control "
     "commands capable of controlling up to 2 relays.  This option is compatible with the Amsel "
     "and Borin series relay controllers.  Only inputs 1 and 2 will be used on the vindle module.  "
     "All other inputs will not generate any RS-232 commands."},
    {{{"RSDevice", 3}},
     "When this option is selected, the vindle module will read inputs and generate control "
     "commands capable of controlling up to 4 relays.  This option is compatible with the Cadrix "
     "series relay controllers.  Only inputs 1 through 4 will be used on the vindle module.  All "
     "other inputs will not generate any RS-232 commands."},
    {{{"RSDevice", 4}},
     "When this option is selected, the vindle module will read inputs and generate control "
     "commands capable of controlling up to 8 relays.  This option is compatible with the Daskon "
     "series relay controllers."},
    {{{"RSDevice", 5}},
     "When this option is selected, the vindle module will read inputs and generate control "
     "commands capable of controlling up to 16 relays.  This option is compatible with the Elvar "
     "series relay controllers.  Some versions of the vindle module have only 8 on-board inputs.  "
     "In these cases, an expansion module should be used. Otherwise, only the first 8 relays will "
     "be controlled."},
    {{{"RSDevice", 6}},
     "When this option is selected, the vindle module will read inputs and generate control "
     "commands capable of controlling up to 32 relays.  This option is compatible with the Fintor "
     "series relay controllers.  Some versions of the vindle module have only 8 on-board inputs.  "
     "In these cases, an expansion module should be used. Otherwise, only the first 8 relays will "
     "be controlled."},
    {{{"RSDevice", 7}},
     "When this option is selected, the vindle module will read inputs and generate control "
     "commands capable of controlling up to 8 relays.  This option is compatible with the Iomar "
     "series relay controllers.  Other I/O functions on these controllers will not be usable when "
     "the vindle is attached to the controller."},
    {{{"RSDevice", 8}},
     "When this option is selected, the vindle module will read inputs and generate control "
     "commands capable of controlling up to 16 relays.  This option is compatible with the Iovel "
     "series relay controllers.  Some versions of the vindle module have only 8 on-board inputs.  "
     "In these cases, an expansion module should be used.  Otherwise, only the first 8 relays will "
     "be controlled. Other I/O functions on these controllers will not be usable when the vindle "
     "is attached to the controller."},
    {{{"RSDevice", 9}},
     "When this option is selected, the vindle module will read inputs and generate control "
     "commands capable of controlling up to 512 relays.  This option is compatible with the "
     "Zenthor series relay controllers.  Some versions of the vindle module have only 8 on-board "
     "inputs.  In these cases, an expansion module should be used.  Otherwise, only the first 8 "
     "relays will be controlled. Other I/O functions on these controllers will not be usable when "
     "the vindle is attached to the controller."},
    {{{"RSDevice", 10}},
     "When this option is selected, the vindle module will read inputs and generate control "
     "commands capable of controlling up to 256 relays.  This option is compatible with the "
     "Quadrel series relay controllers.  Some versions of the vindle module have only 8 on-board "
     "inputs.  In these cases, an expansion module should be used.  Otherwise, only the first 8 "
     "relays will be controlled."},
    {{{"LRDevice", 0}},
     "No Wireless LR Compatible Data will be Transmitted when this option is selected."},
    {{{"LRDevice", 1}},
     "This option sends downstream data to the Brevane.  The Brevane MUST be configured to accept "
     "downstream data packets.  Use the Brevane configuration utility.  This option is useful for "
     "sending wireless data from the vindle to a computer."},
    {{{"LRDevice", 2}},
     "This option tells the Vindle Module to transmit data capable of controlling LR Series Relay "
     "Controllers, allowing wireless remote activation of relays without a computer."},
    {{{"LRDevice", 3}},
     "When this option is selected, the vindle module reads analog input data from the first 7 "
     "inputs and generates control LR Series Wireless commands capable of controlling the first 7 "
     "channels on the Ravlek series controllers.  The 8th channel can only be turned on or off "
     "since analog to digital converstion is not possible on the 8th input of the vindle module."},
    {{{"ESDevice", 0}},
     "No Wireless ES Compatible Data will be Transmitted when this option is selected."},
    {{{"ESDevice", 1}},
     "This option transmits data to your computer via wireless communications.  Your computer must "
     "be equipped with a Pellix."},
    {{{"ESDevice", 2}},
     "This option tells the Vindle Module to transmit data capable of controlling ES Series Relay "
     "Controllers, allowing wireless remote activation of relays without a computer."},
    {{{"Frame5", kNoIndex}, {"Frame7", kNoIndex}},
     "These options control how fast data is transmitted by the Vindle Module to the remote "
     "device.  The remote device must be set to the same data rate."},
    {{{"Frame11", kNoIndex}, {"Frame17", kNoIndex}},
     "To help improve remote communication range and reliability, this option can be used to "
     "repeat commands up to 255 times. Typically a low value of 1-5 works well and offers "
     "excpetional speed and reliability.  However, if the remote device is slightly out of range, "
     "and if you can wait a few seconds, increasing this slider to its maximum value can help "
     "improve the chances of successful communications."},
    {{{"LRKeys", kNoIndex}, {"ESKeys", kNoIndex}},
     "Under most circumstances, this option should be enabled.  You MUST make sure the remote "
     "device has the Required Keys option enabled.  When this option is enabled, keys will be sent "
     "along with each command, ensuring the Vindle Module controls a specific remote relay "
     "controller.  The three fields above must have the correct wireless keys defined.  These keys "
     "control which device will be controlled by this vindle module."},
    {{{"ReadSettings", kNoIndex}},
     "This button reads the settings from the Vindle Module.  All settings shown in this program "
     "will be changed to reflect the configuration stored in the Vindle Module."},
    {{{"StoreSettings", kNoIndex}},
     "This button stores the above settings into the vindle module."},
};

} // namespace

std::optional<std::string_view> mainHelpText(const Control& control)
{
    if (control.name() == "Label1" && control.index() == kNoIndex) {
        // The text follows the label's caption, not the slider.
        return control.caption() == kProcessorInputs ? kProcessorInputsHelp : kExternalInputsHelp;
    }
    for (const HelpRow& row : kHelp) {
        for (const HelpTarget& target : row.targets) {
            if (control.name() == target.control &&
                (target.index == kAnyIndex || target.index == control.index()))
                return row.text;
        }
    }
    return std::nullopt;
}

void installMainHelp(MainWindow& main)
{
    Label& help = main.HELP();
    main.setDescriber(mainHelpText);
    for (Control* control : main.controls()) {
        control->onMouseOver([control, &help] {
            if (const auto text = mainHelpText(*control))
                help.setCaption(std::string(*text));
        });
    }
}

} // namespace vindle
