#include "qt/ProgramView.h"

namespace vindle {

ProgramView::ProgramView(SetupProgram& program, const TwipScale& scale) : scale_(scale)
{
    program.forEachWindow([this](Window& window) {
        binders_.push_back(std::make_unique<WindowBinder>(window, scale_));
    });
}

WindowBinder* ProgramView::binder(std::string_view windowName) const
{
    for (const auto& binder : binders_) {
        if (binder->window().name() == windowName)
            return binder.get();
    }
    return nullptr;
}

void ProgramView::hideAll() const
{
    for (const auto& binder : binders_)
        binder->widget().hide();
}

} // namespace vindle
