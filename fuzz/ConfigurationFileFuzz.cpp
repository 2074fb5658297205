// The configuration file loader on any bytes: either an error with a message,
// or contents that format to a file which loads back to exactly the same
// contents and the same text.

#include "config/MemoryMap.h"
#include "program/ConfigurationFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    vindle::ConfigurationFileContents contents;
    try {
        contents = vindle::parseConfigurationFile(text);
    } catch (const vindle::ConfigurationFileError& error) {
        if (std::string_view(error.what()).empty())
            std::abort();
        return 0;
    }
    for (const vindle::LocationInfo& info : vindle::memoryMap()) {
        const int value = contents.record[info.location];
        if (value < 0 || value > 255 || vindle::windowsCannotShow(info, value))
            std::abort();
    }
    const std::string formatted = vindle::formatConfigurationFile(contents);
    const vindle::ConfigurationFileContents again = vindle::parseConfigurationFile(formatted);
    if (!(again.module == contents.module) || again.record.values != contents.record.values ||
        vindle::formatConfigurationFile(again) != formatted)
        std::abort();
    return 0;
}
