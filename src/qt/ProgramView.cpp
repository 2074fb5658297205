#include "qt/ProgramView.h"

#include "qt/ProgramIdentity.h"

#include <QWindow>

namespace vindle {

ProgramView::ProgramView(SetupProgram& program, const TwipScale& scale)
    : program_(program), scale_(scale)
{
    program.forEachWindow([this](Window& window) { render(window); });
    program.link().onExchangeRunning([this](bool running) { exchangeRunning(running); });
}

ProgramView::~ProgramView()
{
    program_.link().onExchangeRunning(nullptr);
}

void ProgramView::render(Window& window)
{
    auto& binder = *binders_.emplace_back(std::make_unique<WindowBinder>(window, scale_));
    QWidget& widget = binder.widget();
    widget.setWindowIcon(ProgramIdentity::icon());
    if (program_.link().exchangeRunning() && showsBusy(window))
        widget.setCursor(Qt::BusyCursor);
    WindowBinder* const main = this->binder(program_.mainWindow().name());
    if (main == nullptr || main == &binder || !showsBusy(window))
        return;
    // A secondary window belongs to the main window: the window manager
    // keeps it above it.
    widget.winId();
    main->widget().winId();
    widget.windowHandle()->setTransientParent(main->widget().windowHandle());
}

bool ProgramView::showsBusy(const Window& window) const
{
    return program_.hasMonitor() ? &window != &program_.monitor() : true;
}

void ProgramView::exchangeRunning(bool running) const
{
    for (const auto& binder : binders_) {
        if (!showsBusy(binder->window()))
            continue;
        if (running)
            binder->widget().setCursor(Qt::BusyCursor);
        else
            binder->widget().unsetCursor();
    }
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
