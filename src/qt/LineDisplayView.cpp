#include "qt/LineDisplayView.h"

#include <QFontDatabase>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>

namespace vindle {

LineDisplayView::LineDisplayView(const LineDisplay& display, QWidget* parent)
    : QPlainTextEdit(parent), display_(display)
{
    setReadOnly(true);
    setUndoRedoEnabled(false);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setFocusPolicy(Qt::StrongFocus);
    // The lines are columns of fixed width.
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setBold(true);
    setFont(font);
    refresh();
}

void LineDisplayView::refresh()
{
    const std::uint64_t fresh = display_.linesAdded() - shown_;
    if (fresh == 0)
        return;
    if (shown_ == 0 || fresh >= display_.lines().size()) {
        redrawAll();
        return;
    }
    QString text;
    for (std::size_t i = 0; i < fresh; ++i) {
        text += QString::fromStdString(display_.lines()[i]);
        text += QLatin1Char('\n');
    }
    QScrollBar* const bar = verticalScrollBar();
    const bool atTop = bar->value() == bar->minimum();
    QTextCursor cursor(document());
    cursor.beginEditBlock();
    cursor.movePosition(QTextCursor::Start);
    cursor.insertText(text);
    cursor.endEditBlock();
    trimToCapacity();
    shown_ = display_.linesAdded();
    if (atTop)
        bar->setValue(bar->minimum());
}

void LineDisplayView::redrawAll()
{
    QStringList lines;
    lines.reserve(static_cast<qsizetype>(display_.lines().size()));
    for (const std::string& line : display_.lines())
        lines.append(QString::fromStdString(line));
    setPlainText(lines.join(QLatin1Char('\n')));
    shown_ = display_.linesAdded();
}

void LineDisplayView::trimToCapacity()
{
    const int capacity = static_cast<int>(display_.capacity());
    if (document()->blockCount() <= capacity)
        return;
    const QTextBlock firstDropped = document()->findBlockByNumber(capacity);
    QTextCursor cursor(document());
    cursor.setPosition(firstDropped.position() - 1);
    cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
}

} // namespace vindle
