#include "qt/QtDialogs.h"

#include "qt/MessageBox.h"

#include <QApplication>
#include <QGuiApplication>

namespace vindle {

void QtDialogs::showMessage(const std::string& text)
{
    MessageBox::information(QApplication::activeWindow(), QGuiApplication::applicationDisplayName(),
                            QString::fromStdString(text));
}

} // namespace vindle
