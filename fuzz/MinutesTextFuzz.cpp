// The motion window's normalisation of a minutes box, on any text: the result
// is a number from 1 to 255 that is already normal, so writing it back into
// the box changes nothing more.

#include "ui/model/LeadingNumber.h"
#include "ui/motion/MotionTimesWindow.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using vindle::MotionTimesWindow;
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string normal = MotionTimesWindow::normalMinutes(text);
    const double minutes = vindle::leadingNumber(normal);
    if (!(minutes >= MotionTimesWindow::kFewestMinutes &&
          minutes <= MotionTimesWindow::kMostMinutes))
        std::abort();
    if (MotionTimesWindow::normalMinutes(normal) != normal)
        std::abort();
    return 0;
}
