#pragma once

#include "program/ConfigurationFile.h"

#include <QString>
#include <string>
#include <string_view>

namespace vindle {

// A whole file read as text, or why it could not be read.
struct LoadedText
{
    std::string text;
    QString error; // empty when the file was read
};

inline constexpr qint64 kLargestTextFile = kLargestConfigurationFile;

// Reads a whole regular file of at most kLargestTextFile bytes.
LoadedText loadTextFile(const QString& path);

// Replaces the file at `path` with `text` as a whole: the text goes to a new
// file in the same folder, which takes the old one's place only once it is
// complete and flushed, with the old one's group. A save that fails leaves
// the old file as it was; a path that holds something other than a regular
// file (a device, a FIFO) is refused.
// Returns why it failed, or an empty text.
QString saveTextFile(const QString& path, std::string_view text);
// Whether saveTextFile could write `path` now, writing nothing there: why
// not, or an empty text.
QString checkTextFileSavable(const QString& path);

} // namespace vindle
