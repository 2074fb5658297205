// The store's conversion of a text box into a byte, on any text: a byte, or
// nothing; and the byte's own decimal text converts back to it.

#include "config/ByteText.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::optional<int> byte = vindle::byteFromText(text);
    if (!byte)
        return 0;
    if (*byte < 0 || *byte > 255 || vindle::byteFromText(std::to_string(*byte)) != byte)
        std::abort();
    return 0;
}
