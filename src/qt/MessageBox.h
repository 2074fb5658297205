#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <optional>

namespace vindle {

// Modal message boxes of the program. Tests set an automatic answer: no box
// is shown, every message is recorded and gets that answer at once, so modal
// flows run without anybody to press a button.
class MessageBox
{
public:
    // A box with one OK button; returns once it is acknowledged.
    static QMessageBox::StandardButton information(QWidget* parent, const QString& title,
                                                   const QString& text);

    // Test seam.
    static void setAutoAnswer(std::optional<QMessageBox::StandardButton> answer);
    static const QStringList& answeredTexts();
    static void clearAnsweredTexts();
};

} // namespace vindle
