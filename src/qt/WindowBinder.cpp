#include "qt/WindowBinder.h"

#include "qt/ControlWidgets.h"
#include "ui/model/AccessibleName.h"
#include "ui/model/Button.h"
#include "ui/model/Drawing.h"
#include "ui/model/Frame.h"
#include "ui/model/Option.h"
#include "ui/model/ReadingOrder.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QButtonGroup>
#include <QEnterEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
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

} // namespace

WindowBinder::WindowBinder(Window& window, const TwipScale& scale)
    : window_(window), scale_(scale), top_(std::make_unique<WindowWidget>(window))
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
    auto* page = new QVBoxLayout(top_.get());
    if (designed) {
        page->setContentsMargins(0, 0, 0, 0);
        page->setSpacing(0);
        scroll_ = new QScrollArea(top_.get());
        scroll_->setFrameShape(QFrame::NoFrame);
        // The controls inside take the focus; the area itself is no stop.
        scroll_->setFocusPolicy(Qt::NoFocus);
        body_ = newCanvas(scroll_);
        scroll_->setWidget(body_);
        scroll_->viewport()->setMouseTracking(true);
        scroll_->viewport()->installEventFilter(this);
        page->addWidget(scroll_);
        if (window_.footerTop()) {
            footer_ = newCanvas(top_.get());
            page->addWidget(footer_);
        }
    } else {
        body_ = top_.get();
    }
    for (Control* control : window_.controls()) {
        if (control->kind() == ControlKind::OptionGroup) {
            auto* group = new QButtonGroup(top_.get());
            group->setExclusive(true);
            groups_.emplace(control, group);
        }
        QWidget* const parent =
            control->parent() != nullptr ? widgetFor(*control->parent()) : canvasFor(*control);
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
            if (control->kind() == ControlKind::Frame && control->parent() == nullptr)
                // A frame drawn over another covers what lies beneath it.
                widget->setAutoFillBackground(true);
            syncControlWidget(*control, *widget);
            if (!designed && control->parent() == nullptr)
                page->addWidget(widget);
            else
                place(*control, *widget);
            syncControlWidget(*control, *widget);
            nameForAssistiveTechnology(*control, *widget);
        }
        if (widget != nullptr && !control->shortcut().empty())
            addShortcut(*control, *widget);
        if (const Control* naming = namingControl(*control); naming != nullptr && naming != control)
            named_.emplace(naming, control);
        listeners_.emplace_back(control, control->addListener([this](const Control& changed) {
            controlChanged(changed);
        }));
    }
    if (designed) {
        widenToFitCaptions();
        const Rect area = *window_.clientArea();
        const int footerTop = window_.footerTop().value_or(area.height);
        body_->setFixedSize(scale_.toPixels(Rect{0, 0, area.width, footerTop}, {}).size());
        if (footer_ != nullptr)
            footer_->setFixedSize(
                scale_.toPixels(Rect{0, 0, area.width, area.height - footerTop}, {}).size());
        fitToScreen();
    } else
        top_->setMinimumWidth(scale_.toPixels(4800));
    orderTabs();
}

void WindowBinder::addShortcut(Control& control, QWidget& widget)
{
    auto* shortcut =
        new QShortcut(QKeySequence(QString::fromStdString(control.shortcut())), top_.get());
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, &widget, [&control, &widget] {
        if (control.kind() == ControlKind::Button) {
            static_cast<const Button&>(control).press();
            return;
        }
        if (!widget.isEnabled() || !widget.isVisible())
            return;
        widget.setFocus(Qt::ShortcutFocusReason);
        if (auto* edit = qobject_cast<QLineEdit*>(&widget))
            edit->selectAll();
    });
}

void WindowBinder::announce(const QString& text)
{
    // Qt has no polite announcement of its own here: a one-pixel label that
    // takes the words and raises an alert, which screen readers read out.
    if (announcer_ == nullptr) {
        announcer_ = new QLabel(top_.get());
        announcer_->setObjectName(QStringLiteral("Announcer"));
        announcer_->setAttribute(Qt::WA_TransparentForMouseEvents);
        announcer_->setGeometry(0, 0, 1, 1);
        announcer_->setAccessibleName(QString());
    }
    announcer_->setText(text);
    announcer_->show();
    QAccessibleEvent event(announcer_, QAccessible::Alert);
    QAccessible::updateAccessibility(&event);
}

QWidget* WindowBinder::newCanvas(QWidget* parent)
{
    auto* canvas = new QWidget(parent);
    canvas->setMouseTracking(true);
    canvas->installEventFilter(this);
    return canvas;
}

bool WindowBinder::inFooter(const Control& control) const
{
    return footer_ != nullptr && window_.inFooter(control);
}

QWidget* WindowBinder::canvasFor(const Control& control) const
{
    return inFooter(control) ? footer_ : body_;
}

void WindowBinder::fitToScreen()
{
    if (const QScreen* screen = top_->screen())
        // Room for the window's frame and title bar, which are drawn outside it.
        fitInto(screen->availableGeometry().size() * 9 / 10);
}

void WindowBinder::fitInto(const QSize& room)
{
    // The whole window where there is room for it. Otherwise the footer
    // stays whole and in view, and the part above it scrolls.
    if (scroll_ == nullptr)
        return;
    const QSize body = body_->size();
    const int footerHeight = footer_ != nullptr ? footer_->height() : 0;
    const QWidget* const menuBar = top_->layout()->menuBar();
    const int menuHeight = menuBar != nullptr ? menuBar->sizeHint().height() : 0;
    const QSize whole(body.width(), menuHeight + body.height() + footerHeight);
    QSize size = whole;
    // A body cut short takes a scroll bar beside it, not one below too.
    if (whole.height() > room.height())
        size.rwidth() += top_->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    size = size.boundedTo(room);
    top_->setMaximumSize(size.expandedTo(whole));
    top_->resize(size);
    top_->layout()->activate();
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
    if (const auto& layout = control.layout()) {
        Rect rect = *layout;
        if (inFooter(control))
            rect.top -= *window_.footerTop();
        widget.setGeometry(scale_.toPixels(rect, widget.sizeHint()));
    } else
        widget.resize(widget.sizeHint());
}

void WindowBinder::nameForAssistiveTechnology(const Control& control, QWidget& widget) const
{
    widget.setAccessibleName(QString::fromStdString(accessibleName(window_, control)));
    widget.setAccessibleDescription(
        QString::fromStdString(accessibleDescription(window_, control)));
}

void WindowBinder::controlChanged(const Control& control)
{
    if (QWidget* const widget = widgetFor(control)) {
        syncControlWidget(control, *widget);
        // A control named by its own caption is announced by what it shows.
        nameForAssistiveTechnology(control, *widget);
    }
    // What a frame or a group holds shows its flags too.
    if (control.kind() == ControlKind::OptionGroup || control.kind() == ControlKind::Frame) {
        for (const Control* inside : window_.controls()) {
            if (QWidget* const widget = widgetFor(*inside);
                widget != nullptr && inside->isInside(control))
                syncControlWidget(*inside, *widget);
        }
    }
    const auto [first, last] = named_.equal_range(&control);
    for (auto entry = first; entry != last; ++entry) {
        if (QWidget* const widget = widgetFor(*entry->second))
            nameForAssistiveTechnology(*entry->second, *widget);
    }
    syncTabStops();
}

void WindowBinder::windowChanged(Window::Change change)
{
    switch (change) {
    case Window::Change::Title:
        top_->setWindowTitle(QString::fromStdString(window_.title()));
        for (const auto& [control, widget] : widgets_)
            nameForAssistiveTechnology(*control, *widget);
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
    case Window::Change::Announcement:
        announce(QString::fromStdString(window_.announcement()));
        break;
    }
}

void WindowBinder::orderTabs()
{
    readingOrder_ = readingOrder(window_);
    std::vector<QWidget*> chain;
    for (const Control* control : readingOrder_) {
        if (QWidget* const widget = widgetFor(*control);
            widget != nullptr && takesKeyboardFocus(control->kind()))
            chain.push_back(widget);
    }
    for (std::size_t i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
    syncTabStops();
}

void WindowBinder::syncTabStops() const
{
    // Tab enters an option group at its selected option; the arrow keys move
    // within the group.
    for (const Control* control : readingOrder_) {
        if (control->kind() != ControlKind::Option)
            continue;
        const auto& option = static_cast<const Option&>(*control);
        if (QWidget* const widget = widgetFor(option))
            widget->setFocusPolicy(tabStopOf(option.group()) == &option ? Qt::StrongFocus
                                                                        : Qt::ClickFocus);
    }
}

bool WindowBinder::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseMove:
        hovered(watched, static_cast<QMouseEvent*>(event)->globalPosition());
        break;
    case QEvent::Enter:
        hovered(watched, static_cast<QEnterEvent*>(event)->globalPosition());
        break;
    case QEvent::FocusIn:
        // The keyboard reaches the same help as the pointer.
        if (const auto found = controls_.find(static_cast<QWidget*>(watched));
            found != controls_.end() && found->second->isEffectivelyEnabled())
            found->second->mouseOver();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void WindowBinder::hovered(QObject* watched, const QPointF& globalPosition)
{
    // A move the child does not take goes on to its frame and the window;
    // only the innermost control under the pointer answers it.
    const QPoint point = globalPosition.toPoint();
    QWidget* canvas = body_;
    if (footer_ != nullptr && footer_->rect().contains(footer_->mapFromGlobal(point)))
        canvas = footer_;
    const QWidget* under = canvas->childAt(canvas->mapFromGlobal(point));
    while (under != nullptr && controls_.find(under) == controls_.end())
        under = under->parentWidget();
    if (under == nullptr) {
        if (watched == top_.get() || watched == body_ || watched == footer_ ||
            (scroll_ != nullptr && watched == scroll_->viewport()))
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
