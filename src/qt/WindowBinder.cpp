#include "qt/WindowBinder.h"

#include "qt/ControlWidgets.h"
#include "ui/model/AccessibleName.h"
#include "ui/model/Frame.h"
#include "ui/model/Option.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

namespace vindle {

namespace {

QString objectNameOf(const Control& control)
{
    QString name = QString::fromStdString(control.name());
    if (control.index() != kNoIndex)
        name += QStringLiteral("(%1)").arg(control.index());
    return name;
}

// Pixels a group box's frame takes at its right edge.
constexpr int kFrameBorder = 4;
// A window grows by 5 % a step, to at most 1.05^12, about 1.8 times.
constexpr double kWideningStep = 1.05;
constexpr int kMostWideningSteps = 12;

} // namespace

WindowBinder::WindowBinder(Window& window, const TwipScale& scale)
    : window_(window), scale_(scale),
      top_(std::make_unique<WindowWidget>([&window] { window.requestClose(); }))
{
    top_->setObjectName(QString::fromStdString(window.name()));
    top_->setMouseTracking(true);
    top_->installEventFilter(this);
    build();
    windowListener_ = window_.addListener(
        [this](const Window&, Window::Change change) { windowChanged(change); });
    top_->setWindowTitle(QString::fromStdString(window_.title()));
    top_->setEnabled(window_.isEnabled());
    top_->setVisible(window_.isVisible());
}

WindowBinder::~WindowBinder()
{
    window_.removeListener(windowListener_);
    for (const auto& [control, id] : listeners_)
        control->removeListener(id);
}

QWidget* WindowBinder::widgetFor(const Control& control) const
{
    const auto found = widgets_.find(&control);
    return found == widgets_.end() ? nullptr : found->second;
}

QWidget* WindowBinder::widgetFor(std::string_view name, int index) const
{
    for (const Control* control : window_.controls()) {
        if (control->name() == name && control->index() == index &&
            control->kind() != ControlKind::OptionGroup)
            return widgetFor(*control);
    }
    return nullptr;
}

void WindowBinder::build()
{
    const bool designed = window_.clientArea().has_value();
    auto* stack = designed ? nullptr : new QVBoxLayout(top_.get());
    canvas_ = top_.get();
    if (designed) {
        auto* page = new QVBoxLayout(top_.get());
        page->setContentsMargins(0, 0, 0, 0);
        auto* scroll = new QScrollArea(top_.get());
        scroll->setFrameShape(QFrame::NoFrame);
        canvas_ = new QWidget(scroll);
        canvas_->setMouseTracking(true);
        canvas_->installEventFilter(this);
        scroll->setWidget(canvas_);
        page->addWidget(scroll);
    }
    for (Control* control : window_.controls()) {
        if (control->kind() == ControlKind::OptionGroup) {
            auto* group = new QButtonGroup(top_.get());
            group->setExclusive(true);
            groups_.emplace(control, group);
        }
        QWidget* const parent =
            control->parent() != nullptr ? widgetFor(*control->parent()) : canvas_;
        QWidget* const widget = createControlWidget(*control, parent);
        if (widget != nullptr) {
            widget->setObjectName(objectNameOf(*control));
            widget->setMouseTracking(true);
            widget->installEventFilter(this);
            widgets_.emplace(control, widget);
            controls_.emplace(widget, control);
            if (control->kind() == ControlKind::Option) {
                const auto& option = static_cast<const Option&>(*control);
                groups_.at(&option.group())->addButton(static_cast<QAbstractButton*>(widget));
            }
            syncControlWidget(*control, *widget);
            if (stack != nullptr && control->parent() == nullptr)
                stack->addWidget(widget);
            else
                place(*control, *widget);
            syncControlWidget(*control, *widget);
            nameForAssistiveTechnology(*control, *widget);
        }
        if (const Control* naming = namingControl(*control); naming != nullptr && naming != control)
            named_.emplace(naming, control);
        listeners_.emplace_back(control, control->addListener([this](const Control& changed) {
            controlChanged(changed);
        }));
    }
    if (designed) {
        widenToFitCaptions();
        canvas_->setFixedSize(scale_.toPixels(*window_.clientArea(), {}).size());
        fitToScreen();
    } else
        top_->setMinimumWidth(scale_.toPixels(4800));
    orderTabs();
}

void WindowBinder::fitToScreen()
{
    // The whole page where the screen has room for it; otherwise as much as
    // fits, with scroll bars for the rest.
    const QSize page = canvas_->size();
    QSize size = page;
    if (const QScreen* screen = top_->screen()) {
        const QSize room = screen->availableGeometry().size() * 9 / 10;
        // A page cut short takes a scroll bar beside it, not one below too.
        if (page.height() > room.height())
            size.rwidth() += top_->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        size = size.boundedTo(room);
    }
    top_->setMaximumSize(size.expandedTo(page));
    top_->resize(size);
}

bool WindowBinder::captionsFit() const
{
    for (const auto& [control, widget] : widgets_) {
        if (!control->isVisible() || !control->layout())
            continue;
        if (!captionFits(*control, *widget))
            return false;
        // A control sized by its caption must end inside its frame.
        if (control->layout()->width == 0 && control->parent() != nullptr &&
            widget->geometry().right() > widget->parentWidget()->width() - kFrameBorder)
            return false;
    }
    return true;
}

void WindowBinder::widenToFitCaptions()
{
    // Where the font needs more room than the design gave, the whole window
    // grows in proportion, a step at a time.
    for (int step = 0; step < kMostWideningSteps && !captionsFit(); ++step) {
        scale_ = TwipScale(scale_.factor() * kWideningStep);
        for (const auto& [control, widget] : widgets_) {
            if (control->layout())
                place(*control, *widget);
            syncControlWidget(*control, *widget);
        }
    }
}

void WindowBinder::place(const Control& control, QWidget& widget) const
{
    if (const auto& layout = control.layout())
        widget.setGeometry(scale_.toPixels(*layout, widget.sizeHint()));
    else
        widget.resize(widget.sizeHint());
}

void WindowBinder::nameForAssistiveTechnology(const Control& control, QWidget& widget) const
{
    widget.setAccessibleName(QString::fromStdString(accessibleName(window_, control)));
}

void WindowBinder::controlChanged(const Control& control)
{
    if (QWidget* const widget = widgetFor(control))
        syncControlWidget(control, *widget);
    if (control.kind() == ControlKind::OptionGroup) {
        for (const auto& option : static_cast<const OptionGroup&>(control).options())
            syncControlWidget(*option, *widgetFor(*option));
    }
    const auto [first, last] = named_.equal_range(&control);
    for (auto entry = first; entry != last; ++entry) {
        if (QWidget* const widget = widgetFor(*entry->second))
            nameForAssistiveTechnology(*entry->second, *widget);
    }
}

void WindowBinder::windowChanged(Window::Change change)
{
    switch (change) {
    case Window::Change::Title:
        top_->setWindowTitle(QString::fromStdString(window_.title()));
        break;
    case Window::Change::Visible:
        top_->setVisible(window_.isVisible());
        break;
    case Window::Change::Enabled:
        top_->setEnabled(window_.isEnabled());
        break;
    case Window::Change::FrontRequest:
        top_->raise();
        top_->activateWindow();
        break;
    }
}

void WindowBinder::orderTabs() const
{
    // Reading order: row by row, left to right, across frames.
    std::vector<QWidget*> focusable;
    for (const auto& [control, widget] : widgets_) {
        if ((widget->focusPolicy() & Qt::TabFocus) != 0)
            focusable.push_back(widget);
    }
    const auto position = [this](const QWidget* widget) {
        const QPoint at = widget->mapTo(top_.get(), QPoint(0, 0));
        return std::pair(at.y(), at.x());
    };
    std::sort(focusable.begin(), focusable.end(), [&position](const QWidget* a, const QWidget* b) {
        return position(a) < position(b);
    });
    for (std::size_t i = 1; i < focusable.size(); ++i)
        QWidget::setTabOrder(focusable[i - 1], focusable[i]);
}

bool WindowBinder::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseMove)
        hovered(watched, static_cast<QMouseEvent*>(event)->globalPosition());
    else if (event->type() == QEvent::Enter)
        hovered(watched, static_cast<QEnterEvent*>(event)->globalPosition());
    return QObject::eventFilter(watched, event);
}

void WindowBinder::hovered(QObject* watched, const QPointF& globalPosition)
{
    // A move the child does not take goes on to its frame and the window;
    // only the innermost control under the pointer answers it.
    const QPoint at = canvas_->mapFromGlobal(globalPosition.toPoint());
    const QWidget* under = canvas_->childAt(at);
    while (under != nullptr && controls_.find(under) == controls_.end())
        under = under->parentWidget();
    if (under == nullptr) {
        if (watched == top_.get() || watched == canvas_)
            window_.mouseOver();
        return;
    }
    if (under != watched)
        return;
    const Control& control = *controls_.at(under);
    if (control.isEffectivelyEnabled())
        control.mouseOver();
}

} // namespace vindle
