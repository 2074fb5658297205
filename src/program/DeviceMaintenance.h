#pragma once

#include "program/ProgramServices.h"

namespace vindle {

class ConfigurationReader;

// The buttons that act on the module as a whole: its identity values, shown
// and hidden again, and the reset to factory defaults with the read after it.
class DeviceMaintenance
{
public:
    // How many bytes Clear to Factory Defaults looks through for the ready
    // marker before it reads the configuration anyway.
    static constexpr int kResetReceives = 100;

    DeviceMaintenance(ProgramServices services, ConfigurationReader& reader);

    // Each on a line the caller holds (ExitVersion needs none).
    void GetVersion_Click();
    void ExitVersion_Click();
    void FactoryDefaults_Click();

private:
    ProgramServices services_;
    ConfigurationReader& reader_;
};

} // namespace vindle
