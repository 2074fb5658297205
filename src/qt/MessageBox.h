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
    // The same with the error icon, for a failure that ends what was asked.
    static QMessageBox::StandardButton critical(QWidget* parent, const QString& title,
                                                const QString& text);

    // Test seam.
    static void setAutoAnswer(std::optional<QMessageBox::StandardButton> answer);
    static const QStringList& answeredTexts();
    static void clearAnsweredTexts();

private:
    static QMessageBox::StandardButton show(QMessageBox::Icon icon, QWidget* parent,
                                            const QString& title, const QString& text);
};

} // namespace vindle
