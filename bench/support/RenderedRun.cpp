#include "support/RenderedRun.h"

#include "link/ByteLink.h"
#include "qt/MessageBox.h"

#include <QCoreApplication>
#include <QTimer>
#include <chrono>
#include <stdexcept>
#include <thread>

namespace vindle::bench {

namespace {

// Long enough for the hand-over's command bytes to leave the port before the
// run ends and closes it.
constexpr std::chrono::milliseconds kMonitorGrace{200};

} // namespace

RenderedRun::RenderedRun(const QString& device)
{
    MessageBox::setAutoAnswer(QMessageBox::Ok);
    if (!port_.open(device))
        throw std::runtime_error(port_.errorText().toStdString());
    desktop_ = std::make_unique<DesktopProgram>(port_);
}

RenderedRun::~RenderedRun()
{
    program().end();
    desktop_.reset();
    MessageBox::setAutoAnswer(std::nullopt);
    MessageBox::clearAnsweredTexts();
}

void RenderedRun::settle()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void RenderedRun::letTheLineFallQuiet()
{
    // No click comes sooner after an exchange than this; the program's own
    // wait for a quiet line (kReplyOverGap) is then already over.
    std::this_thread::sleep_for(kReplyOverGap + std::chrono::milliseconds(10));
    settle();
}

void RenderedRun::endWhenMonitoring()
{
    program().forEachWindow([this](Window& window) {
        if (window.name() != "RS232Packets")
            return;
        window.addListener([this](const Window& shown, Window::Change change) {
            if (change == Window::Change::Visible && shown.isVisible())
                QTimer::singleShot(kMonitorGrace, [this] { program().end(); });
        });
    });
}

} // namespace vindle::bench
