#pragma once

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

LoadedText loadTextFile(const QString& path);

// Replaces the file at `path` with `text` as a whole: the text goes to a new
// file in the same folder, which takes the old one's place only once it is
// complete and flushed. A save that fails leaves the old file as it was.
// Returns why it failed, or an empty text.
QString saveTextFile(const QString& path, std::string_view text);

} // namespace vindle
