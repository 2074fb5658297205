#pragma once

#include <optional>
#include <string>

namespace vindle::cli {

// The command's result on stdout: it counts only once it has reached its
// place, so every write is checked, and so are the last flush and close.
namespace standard_output {

// First thing, before main: a standard descriptor that was closed is held
// open on /dev/null, so that no port or file opened later takes its number (a
// result written to stdout would go to the module). Writes to a stdout held
// so fail.
void holdClosedDescriptors();
// False (and nothing more is written) once anything written was lost.
bool write(const std::string& text);
// Whether stdout was closed when the program began.
bool wasClosed();
// Flushes and closes stdout; the system's reason when anything written to it
// was lost, or is lost now.
std::optional<std::string> finish();

} // namespace standard_output

} // namespace vindle::cli
