#pragma once

#include <QWidget>
#include <functional>

namespace vindle {

class Window;

// The top-level widget of a rendered window. A close through the window
// frame does not close it: it asks the model, which hides the window or ends
// the program. Escape asks the same where the model says it closes the
// window; a window the model does not let the user close has no close button.
class WindowWidget final : public QWidget
{
public:
    explicit WindowWidget(Window& window);

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    Window& window_;
};

} // namespace vindle
