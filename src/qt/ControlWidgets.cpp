#include "qt/ControlWidgets.h"

#include "qt/LineDisplayView.h"
#include "ui/model/Button.h"
#include "ui/model/CheckBox.h"
#include "ui/model/Label.h"
#include "ui/model/LineDisplay.h"
#include "ui/model/Option.h"
#include "ui/model/OptionGroup.h"
#include "ui/model/ProgressBar.h"
#include "ui/model/Slider.h"
#include "ui/model/TextBox.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QWheelEvent>
#include <cmath>
#include <map>
#include <memory>
#include <utility>

namespace vindle {

namespace {

QString captionOf(const Control& control)
{
    return QString::fromStdString(control.caption());
}

// Buttons take '&' as the mark of a shortcut; the captions mean it literally.
QString literalButtonText(const QString& caption)
{
    QString text = caption;
    return text.replace(QLatin1Char('&'), QLatin1String("&&"));
}

// Breaks a caption into lines no wider than `width`, at blanks, the way the
// design's buttons and options wrap a long caption inside their rectangle.
QString wrapped(const QString& caption, const QFontMetrics& metrics, int width)
{
    if (width <= 0 || metrics.horizontalAdvance(caption) <= width)
        return caption;
    QStringList lines;
    QString line;
    for (const QString& word : caption.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString candidate = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
        if (!line.isEmpty() && metrics.horizontalAdvance(candidate) > width) {
            lines.append(line);
            line = word;
        } else {
            line = candidate;
        }
    }
    lines.append(line);
    return lines.join(QLatin1Char('\n'));
}

// Room for the caption of a button, radio button or check box of fixed size.
int captionWidth(const Control& control, const QWidget& widget)
{
    const auto& layout = control.layout();
    if (!layout || layout->width == 0)
        return 0;
    const QStyle* style = widget.style();
    switch (control.kind()) {
    case ControlKind::Option:
        return widget.width() - style->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) -
               style->pixelMetric(QStyle::PM_RadioButtonLabelSpacing) - 2;
    case ControlKind::CheckBox:
        return widget.width() - style->pixelMetric(QStyle::PM_IndicatorWidth) -
               style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing) - 2;
    default:
        return widget.width() - 2 * style->pixelMetric(QStyle::PM_ButtonMargin);
    }
}

void setButtonCaption(const Control& control, QAbstractButton& button)
{
    button.setText(literalButtonText(
        wrapped(captionOf(control), button.fontMetrics(), captionWidth(control, button))));
}

// A control sized by its contents follows its caption.
void fitContents(const Control& control, QWidget& widget)
{
    const auto& layout = control.layout();
    if (!layout || (layout->width > 0 && layout->height > 0))
        return;
    const QSize natural = widget.sizeHint();
    widget.resize(layout->width > 0 ? widget.width() : natural.width(),
                  layout->height > 0 ? widget.height() : natural.height());
}

int rounded(double value)
{
    return static_cast<int>(std::lround(value));
}

// A slider's scroll bar takes the mouse wheel only when it has the focus;
// otherwise the wheel scrolls the page under it and never changes a value.
class SliderBar final : public QScrollBar
{
public:
    explicit SliderBar(QWidget* parent) : QScrollBar(Qt::Horizontal, parent) {}

protected:
    void wheelEvent(QWheelEvent* event) override
    {
        if (hasFocus())
            QScrollBar::wheelEvent(event);
        else
            event->ignore();
    }
};

struct KindRenderer
{
    QWidget* (*create)(Control&, QWidget*);
    void (*sync)(const Control&, QWidget&);
};

QWidget* createFrame(Control&, QWidget* parent)
{
    return new QGroupBox(parent);
}

void syncFrame(const Control& control, QWidget& widget)
{
    static_cast<QGroupBox&>(widget).setTitle(literalButtonText(captionOf(control)));
}

QWidget* createNothing(Control&, QWidget*)
{
    return nullptr;
}

void syncNothing(const Control&, QWidget&) {}

QWidget* createOption(Control& control, QWidget* parent)
{
    auto& option = static_cast<Option&>(control);
    auto* radio = new QRadioButton(parent);
    // Whatever checks the button (the mouse, the keyboard, assistive
    // technology) selects the option once. A click on the option already
    // selected changes nothing on screen but still raises its click.
    auto wasChecked = std::make_shared<bool>(false);
    QObject::connect(radio, &QRadioButton::pressed, radio,
                     [radio, wasChecked] { *wasChecked = radio->isChecked(); });
    QObject::connect(radio, &QRadioButton::toggled, radio, [&option, radio](bool checked) {
        if (!checked)
            return;
        option.click();
        syncControlWidget(option, *radio);
    });
    QObject::connect(radio, &QRadioButton::clicked, radio, [&option, radio, wasChecked] {
        if (!std::exchange(*wasChecked, false))
            return;
        option.click();
        syncControlWidget(option, *radio);
    });
    return radio;
}

void syncOption(const Control& control, QWidget& widget)
{
    const auto& option = static_cast<const Option&>(control);
    auto& radio = static_cast<QRadioButton&>(widget);
    setButtonCaption(option, radio);
    if (radio.isChecked() != option.isSelected()) {
        // An exclusive group keeps one button checked unless told otherwise.
        QButtonGroup* const group = radio.group();
        const bool exclusive = group != nullptr && group->exclusive();
        if (exclusive && !option.isSelected())
            group->setExclusive(false);
        const QSignalBlocker quiet(radio);
        radio.setChecked(option.isSelected());
        if (exclusive)
            group->setExclusive(true);
    }
}

QWidget* createCheckBox(Control& control, QWidget* parent)
{
    auto& box = static_cast<CheckBox&>(control);
    auto* widget = new QCheckBox(parent);
    // Any change of state (the mouse, the keyboard, assistive technology)
    // toggles the box once; the widget then shows what the model holds.
    QObject::connect(widget, &QCheckBox::stateChanged, widget, [&box, widget] {
        box.toggle();
        syncControlWidget(box, *widget);
    });
    return widget;
}

void syncCheckBox(const Control& control, QWidget& widget)
{
    const auto& box = static_cast<const CheckBox&>(control);
    auto& check = static_cast<QCheckBox&>(widget);
    setButtonCaption(box, check);
    static const std::map<int, Qt::CheckState> kStates{
        {CheckBox::kUnchecked, Qt::Unchecked},
        {CheckBox::kChecked, Qt::Checked},
        {CheckBox::kGrayed, Qt::PartiallyChecked},
    };
    const Qt::CheckState state = kStates.at(box.value());
    // Only the program grays a box; a user click always checks or unchecks.
    const QSignalBlocker quiet(check);
    check.setTristate(state == Qt::PartiallyChecked);
    check.setCheckState(state);
}

QWidget* createSlider(Control& control, QWidget* parent)
{
    auto& slider = static_cast<Slider&>(control);
    auto* bar = new SliderBar(parent);
    bar->setSingleStep(Slider::smallStep());
    bar->setPageStep(Slider::largeStep());
    // A drag scrolls; the value changes when the thumb is let go, or at once
    // for the arrows, the trough and the keyboard.
    bar->setTracking(false);
    bar->setFocusPolicy(Qt::StrongFocus);
    QObject::connect(bar, &QScrollBar::sliderMoved, bar, [&slider, bar](int value) {
        slider.drag(value);
        syncControlWidget(slider, *bar);
    });
    QObject::connect(bar, &QScrollBar::valueChanged, bar, [&slider, bar](int value) {
        if (value != slider.value() && slider.accepts(value))
            slider.setValue(value);
        syncControlWidget(slider, *bar);
    });
    return bar;
}

void syncSlider(const Control& control, QWidget& widget)
{
    const auto& slider = static_cast<const Slider&>(control);
    auto& bar = static_cast<QScrollBar&>(widget);
    const QSignalBlocker quiet(bar);
    bar.setRange(slider.minimum(), slider.maximum());
    bar.setValue(slider.value());
}

QWidget* createTextBox(Control& control, QWidget* parent)
{
    auto& box = static_cast<TextBox&>(control);
    auto* edit = new QLineEdit(parent);
    // Every change of the text (typing, pasting, assistive technology)
    // reaches the model; the program's own changes are made quietly.
    QObject::connect(edit, &QLineEdit::textChanged, edit, [&box, edit](const QString& text) {
        box.setText(text.toStdString());
        syncControlWidget(box, *edit);
    });
    QObject::connect(edit, &QLineEdit::returnPressed, edit, [&box] { box.enter(); });
    return edit;
}

void syncTextBox(const Control& control, QWidget& widget)
{
    auto& edit = static_cast<QLineEdit&>(widget);
    const QString text = QString::fromStdString(static_cast<const TextBox&>(control).text());
    if (edit.text() == text)
        return;
    const int cursor = edit.cursorPosition();
    const QSignalBlocker quiet(edit);
    edit.setText(text);
    edit.setCursorPosition(std::min(cursor, static_cast<int>(text.size())));
}

QWidget* createLabel(Control&, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

void syncLabel(const Control& control, QWidget& widget)
{
    auto& label = static_cast<QLabel&>(widget);
    label.setWordWrap(static_cast<const Label&>(control).wrapsWords());
    label.setText(captionOf(control));
}

QWidget* createButton(Control& control, QWidget* parent)
{
    auto& button = static_cast<Button&>(control);
    auto* push = new QPushButton(parent);
    QObject::connect(push, &QPushButton::clicked, push, [&button] { button.press(); });
    return push;
}

void syncButton(const Control& control, QWidget& widget)
{
    setButtonCaption(control, static_cast<QPushButton&>(widget));
}

QWidget* createProgressBar(Control&, QWidget* parent)
{
    auto* bar = new QProgressBar(parent);
    bar->setTextVisible(false);
    return bar;
}

void syncProgressBar(const Control& control, QWidget& widget)
{
    const auto& progress = static_cast<const ProgressBar&>(control);
    auto& bar = static_cast<QProgressBar&>(widget);
    // Drawn with the next paint rather than at once (QProgressBar repaints
    // on the spot): a transfer moves the bar at every location, and the
    // module should not wait for the drawing.
    bar.setUpdatesEnabled(false);
    bar.setRange(rounded(progress.minimum()), rounded(progress.maximum()));
    bar.setValue(rounded(progress.value()));
    bar.setUpdatesEnabled(true);
}

QWidget* createLineDisplay(Control& control, QWidget* parent)
{
    return new LineDisplayView(static_cast<const LineDisplay&>(control), parent);
}

void syncLineDisplay(const Control&, QWidget& widget)
{
    static_cast<LineDisplayView&>(widget).refresh();
}

const std::map<ControlKind, KindRenderer> kRenderers{
    {ControlKind::Frame, {createFrame, syncFrame}},
    {ControlKind::OptionGroup, {createNothing, syncNothing}},
    {ControlKind::Option, {createOption, syncOption}},
    {ControlKind::CheckBox, {createCheckBox, syncCheckBox}},
    {ControlKind::Slider, {createSlider, syncSlider}},
    {ControlKind::TextBox, {createTextBox, syncTextBox}},
    {ControlKind::Label, {createLabel, syncLabel}},
    {ControlKind::Button, {createButton, syncButton}},
    {ControlKind::ProgressBar, {createProgressBar, syncProgressBar}},
    {ControlKind::LineDisplay, {createLineDisplay, syncLineDisplay}},
};

// Room a group box needs around its title.
constexpr int kTitleMargin = 16;

} // namespace

bool captionFits(const Control& control, const QWidget& widget)
{
    const auto& layout = control.layout();
    if (!layout)
        return true;
    const QFontMetrics metrics = widget.fontMetrics();
    const QString caption = captionOf(control);
    switch (control.kind()) {
    case ControlKind::Frame:
        return metrics.horizontalAdvance(caption) + kTitleMargin <= widget.width();
    case ControlKind::Label: {
        const auto& label = static_cast<const QLabel&>(widget);
        if (label.wordWrap())
            return layout->height == 0 || label.heightForWidth(label.width()) <= label.height();
        return layout->width == 0 || label.sizeHint().width() <= label.width();
    }
    case ControlKind::Option:
    case ControlKind::CheckBox:
    case ControlKind::Button: {
        if (layout->width == 0)
            return true;
        const int room = captionWidth(control, widget);
        const QString text = wrapped(caption, metrics, room);
        const int lines = static_cast<int>(text.count(QLatin1Char('\n'))) + 1;
        return metrics.horizontalAdvance(text.section(QLatin1Char('\n'), 0, 0)) <= room &&
               lines * metrics.lineSpacing() <= widget.height();
    }
    default:
        return true;
    }
}

QWidget* createControlWidget(Control& control, QWidget* parent)
{
    return kRenderers.at(control.kind()).create(control, parent);
}

void syncControlWidget(const Control& control, QWidget& widget)
{
    kRenderers.at(control.kind()).sync(control, widget);
    // Usable and shown as the model has it, with what encloses it.
    widget.setEnabled(control.isEffectivelyEnabled());
    widget.setVisible(control.isEffectivelyVisible());
    fitContents(control, widget);
}

} // namespace vindle
