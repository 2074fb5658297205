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
    replacements_ = display_.replacements();
    refresh();
}

void LineDisplayView::refresh()
{
    bool redrawn = display_.replacements() != replacements_;
    if (redrawn) {
        replacements_ = display_.replacements();
        redrawAll();
    } else {
        redrawn = addFresh();
    }
    showMarked(redrawn);
}

void LineDisplayView::showMarked(bool redrawn)
{
    const auto marked = display_.marked();
    std::optional<std::pair<std::uint64_t, std::size_t>> at;
    if (marked)
        at = {{display_.linesAdded() - marked->index, marked->count}};
    // A selection moves with its lines as new ones come on top.
    if (at == marked_ && !redrawn)
        return;
    marked_ = at;
    QTextCursor cursor = textCursor();
    if (!marked) {
        cursor.clearSelection();
        setTextCursor(cursor);
        return;
    }
    const QTextBlock first = document()->findBlockByNumber(static_cast<int>(marked->index));
    const QTextBlock last =
        document()->findBlockByNumber(static_cast<int>(marked->index + marked->count - 1));
    if (!first.isValid() || !last.isValid())
        return;
    cursor.setPosition(last.position() + last.length() - 1);
    cursor.setPosition(first.position(), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
    centerCursor();
}

bool LineDisplayView::addFresh()
{
    const std::uint64_t fresh = display_.linesAdded() - shown_;
    if (fresh == 0)
        return false;
    if (shown_ == 0 || fresh >= display_.lines().size()) {
        redrawAll();
        return true;
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
    return false;
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
