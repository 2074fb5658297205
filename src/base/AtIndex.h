#pragma once

#include <cstddef>
#include <stdexcept>

namespace vindle {

// Element `index` of an array, for the int indexes the program counts in
// (locations, control-array indexes, channels). Throws std::out_of_range
// outside the array, a negative index included.
template <class Array> constexpr decltype(auto) atIndex(Array& array, int index)
{
    if (index < 0)
        throw std::out_of_range("negative index");
    return array.at(static_cast<std::size_t>(index));
}

} // namespace vindle
