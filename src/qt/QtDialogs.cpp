#include "qt/QtDialogs.h"

#include "qt/MessageBox.h"
#include "qt/ProgramIdentity.h"

#include <QApplication>

namespace vindle {

void QtDialogs::showMessage(const std::string& text)
{
    MessageBox::information(QApplication::activeWindow(), ProgramIdentity::title(),
                            QString::fromStdString(text));
}

} // namespace vindle
