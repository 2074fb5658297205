#pragma once

#include <emscripten/val.h>
#include <optional>
#include <string>

namespace vindle {

// What the page passed as a file's contents: its bytes as they are (a
// Uint8Array), or a text (a string, as UTF-8); nothing for anything else.
inline std::optional<std::string> bytesOf(const emscripten::val& value)
{
    if (value.isString() || value.instanceof (emscripten::val::global("Uint8Array")))
        return value.as<std::string>();
    return std::nullopt;
}

// A string the page passed, or an empty one for anything else.
inline std::string textOf(const emscripten::val& object, const char* key)
{
    return object[key].isString() ? object[key].as<std::string>() : std::string();
}

} // namespace vindle
