#include "CaptureFile.h"

namespace vindle::cli {

void CaptureFile::keep(std::string line, std::size_t /*bytes*/)
{
    if (!kept_.empty())
        kept_ += '\n';
    kept_ += line;
}

void CaptureFile::write()
{
    if (kept_.empty() || !failure_.isEmpty())
        return;
    failure_ = file_.append(kept_);
    if (!failure_.isEmpty()) {
        if (failed_)
            failed_();
        return;
    }
    kept_.clear();
}

} // namespace vindle::cli
