#pragma once

#include "config/Identity.h"
#include "link/Received.h"
#include "program/ProcedureResults.h"
#include "program/ProgramServices.h"

#include <functional>
#include <optional>

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
    // The identity as Read Firmware Version asks for it, `eachByte` hearing
    // each byte as it comes. Empty unless the reply was whole.
    std::optional<Identity>
    readVersion(const std::function<void(int index, const Received&)>& eachByte = {});
    // Read Firmware Version: shows the version panel and each identity byte
    // in it as it comes; the captions are emptied when the reply was not
    // whole. True when it was.
    bool GetVersion_Click();
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
