#pragma once

#include "config/Identity.h"
#include "link/Received.h"

#include <functional>
#include <optional>

namespace vindle {

class ByteLink;

// The module as a whole: its identity, as Read Firmware Version asks for it
// and as the other procedures do.
class DeviceMaintenance
{
public:
    explicit DeviceMaintenance(ByteLink& link);

    // Each on a line the caller holds.
    // The identity as Read Firmware Version asks for it, `eachByte` hearing
    // each byte as it comes. Empty unless the reply was whole.
    std::optional<Identity>
    readVersion(const std::function<void(int index, const Received&)>& eachByte = {});
    // The identity alone, with nothing shown: what is left on the line is
    // let run out first. Empty unless the reply was whole.
    std::optional<Identity> readIdentity();

private:
    ByteLink& link_;
};

} // namespace vindle
