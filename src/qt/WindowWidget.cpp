#include "qt/WindowWidget.h"

#include "ui/model/Window.h"

#include <QCloseEvent>
#include <QKeyEvent>

namespace vindle {

WindowWidget::WindowWidget(Window& window) : window_(window)
{
    if (!window_.isClosable()) {
        setWindowFlag(Qt::CustomizeWindowHint);
        setWindowFlag(Qt::WindowCloseButtonHint, false);
    }
}

void WindowWidget::closeEvent(QCloseEvent* event)
{
    event->ignore();
    window_.requestClose();
}

void WindowWidget::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier &&
        window_.closesOnEscape()) {
        window_.requestClose();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace vindle
