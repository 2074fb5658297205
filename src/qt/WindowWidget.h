#pragma once

#include <QWidget>
#include <functional>

namespace vindle {

// The top-level widget of a rendered window. A close through the window
// frame does not close it: it asks the model, which hides the window or ends
// the program.
class WindowWidget final : public QWidget
{
public:
    using CloseRequest = std::function<void()>;

    explicit WindowWidget(CloseRequest closeRequest);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    CloseRequest closeRequest_;
};

} // namespace vindle
