#include "qt/MessageBox.h"

namespace vindle {

namespace {

std::optional<QMessageBox::StandardButton>& autoAnswer()
{
    static std::optional<QMessageBox::StandardButton> answer;
    return answer;
}

QStringList& answered()
{
    static QStringList texts;
    return texts;
}

} // namespace

QMessageBox::StandardButton MessageBox::information(QWidget* parent, const QString& title,
                                                    const QString& text)
{
    return show(QMessageBox::Information, parent, title, text);
}

QMessageBox::StandardButton MessageBox::critical(QWidget* parent, const QString& title,
                                                 const QString& text)
{
    return show(QMessageBox::Critical, parent, title, text);
}

QMessageBox::StandardButton MessageBox::show(QMessageBox::Icon icon, QWidget* parent,
                                             const QString& title, const QString& text)
{
    if (const auto answer = autoAnswer()) {
        answered().append(text);
        return *answer;
    }
    QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

void MessageBox::setAutoAnswer(std::optional<QMessageBox::StandardButton> answer)
{
    autoAnswer() = answer;
}

const QStringList& MessageBox::answeredTexts()
{
    return answered();
}

void MessageBox::clearAnsweredTexts()
{
    answered().clear();
}

} // namespace vindle
