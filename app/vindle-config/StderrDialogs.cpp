#include "StderrDialogs.h"

#include <cstdio>

namespace vindle::cli {

void StderrDialogs::showMessage(const std::string& text)
{
    std::fprintf(stderr, "%s\n", text.c_str());
    std::fflush(stderr);
}

} // namespace vindle::cli
