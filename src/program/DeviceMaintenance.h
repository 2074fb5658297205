#pragma once

#include "config/Identity.h"
#include "program/ProcedureResults.h"
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
    // Shows each identity byte as it comes; the identity when its reply was
    // whole (the captions are emptied otherwise).
    std::optional<Identity> GetVersion_Click();
    // The identity alone, with nothing shown: what is left on the line is
    // let run out first. Empty unless the reply was whole.
    std::optional<Identity> readIdentity();
    void ExitVersion_Click();
    // The reset, then Read Configuration; what that read found.
    ReadResult FactoryDefaults_Click();

private:
    ProgramServices services_;
    ConfigurationReader& reader_;
};

} // namespace vindle
