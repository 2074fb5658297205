#include "qt/WindowWidget.h"

#include <QCloseEvent>

namespace vindle {

WindowWidget::WindowWidget(CloseRequest closeRequest) : closeRequest_(std::move(closeRequest)) {}

void WindowWidget::closeEvent(QCloseEvent* event)
{
    event->ignore();
    if (closeRequest_)
        closeRequest_();
}

} // namespace vindle
