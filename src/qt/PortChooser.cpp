#include "qt/PortChooser.h"

#include "qt/ProgramIdentity.h"
#include "qt/core/PortOpenFailure.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>
#include <exception>

namespace vindle {

namespace {

// The device of a list entry.
constexpr int kDeviceRole = Qt::UserRole;

} // namespace

PortChooser::PortChooser(QtSerialPort& port, const QString& failed, EmulatorStarter startEmulator,
                         QWidget* parent)
    : QDialog(parent), port_(port), startEmulator_(std::move(startEmulator)), reason_(new QLabel),
      listCaption_(new QLabel), list_(new QListWidget), device_(new QLineEdit),
      open_(new QPushButton(tr("&Open")))
{
    setWindowTitle(ProgramIdentity::title());

    auto* icon = new QLabel;
    const int iconSize = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    icon->setPixmap(style()
                        ->standardIcon(QStyle::SP_MessageBoxCritical, nullptr, this)
                        .pixmap(iconSize, iconSize));
    icon->setAlignment(Qt::AlignTop);
    reason_->setTextFormat(Qt::PlainText);
    reason_->setWordWrap(true);
    reason_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    listCaption_->setBuddy(list_);
    list_->setAccessibleName(tr("Serial ports on this computer"));
    list_->setMinimumSize(fontMetrics().averageCharWidth() * 80, fontMetrics().lineSpacing() * 6);

    auto* typeCaption = new QLabel(
        tr("Or type the &device to open: a pseudo-terminal, or a name under /dev/serial/by-id/"));
    typeCaption->setBuddy(device_);
    device_->setAccessibleName(tr("Device to open"));
    device_->setPlaceholderText(QStringLiteral("/dev/serial/by-id/..."));

    auto* buttons = new QDialogButtonBox;
    open_->setDefault(true);
    buttons->addButton(open_, QDialogButtonBox::AcceptRole);
    QPushButton* emulate = nullptr;
    if (startEmulator_)
        emulate = buttons->addButton(tr("&Try without a module"), QDialogButtonBox::ActionRole);
    QPushButton* quit = buttons->addButton(tr("&Quit"), QDialogButtonBox::RejectRole);

    auto* grid = new QGridLayout(this);
    grid->addWidget(icon, 0, 0, 5, 1);
    grid->addWidget(reason_, 0, 1);
    grid->addWidget(listCaption_, 1, 1);
    grid->addWidget(list_, 2, 1);
    grid->addWidget(typeCaption, 3, 1);
    grid->addWidget(device_, 4, 1);
    grid->addWidget(buttons, 5, 0, 1, 2);
    grid->setColumnStretch(1, 1);

    // The port a person selects fills the field, so that Open takes one
    // device whichever way it was given. Focus alone selects nothing.
    connect(list_, &QListWidget::itemSelectionChanged, this, [this] {
        const QList<QListWidgetItem*> selected = list_->selectedItems();
        if (!selected.isEmpty())
            device_->setText(selected.front()->data(kDeviceRole).toString());
    });
    // Enter reaches the default button, Open, wherever the focus is.
    connect(list_, &QListWidget::itemDoubleClicked, this, [this] { openTyped(); });
    connect(open_, &QPushButton::clicked, this, [this] { openTyped(); });
    if (emulate != nullptr)
        connect(emulate, &QPushButton::clicked, this, [this] { tryWithoutModule(); });
    connect(quit, &QPushButton::clicked, this, &QDialog::reject);
    connect(&poll_, &QTimer::timeout, this, [this] { refreshPorts(); });
    poll_.setInterval(kPollInterval);

    showReason(failed);
    refreshPorts();
    // As wide as the list asks, as high as a few ports need; the person may
    // make it larger.
    resize(sizeHint().width(), minimumSizeHint().height());
}

bool PortChooser::choose()
{
    poll_.start();
    const bool opened = exec() == QDialog::Accepted;
    poll_.stop();
    return opened;
}

void PortChooser::refreshPorts()
{
    const QList<QSerialPortInfo> present = QSerialPortInfo::availablePorts();
    QStringList shown;
    for (const QSerialPortInfo& info : present)
        shown.append(portDescription(info));
    if (shown == shownPorts_)
        return;
    shownPorts_ = shown;

    const QList<QListWidgetItem*> selected = list_->selectedItems();
    const QString chosen =
        selected.isEmpty() ? QString() : selected.front()->data(kDeviceRole).toString();
    const QSignalBlocker quiet(list_);
    list_->clear();
    for (const QSerialPortInfo& info : present) {
        auto* item = new QListWidgetItem(portDescription(info), list_);
        item->setData(kDeviceRole, info.systemLocation());
        if (info.systemLocation() == chosen)
            list_->setCurrentItem(item);
    }
    listCaption_->setText(present.isEmpty() ? tr("This computer shows no serial ports.")
                                            : tr("&Serial ports on this computer:"));
}

void PortChooser::openDevice(const QString& device)
{
    if (port_.isOpen() || port_.open(device)) {
        accept();
        return;
    }
    showReason(device);
    refreshPorts();
}

void PortChooser::openTyped()
{
    const QString device = device_->text().trimmed();
    if (device.isEmpty()) {
        reason_->setText(tr("Choose a serial port from the list, or type the device to open."));
        device_->setFocus();
        return;
    }
    openDevice(device);
}

void PortChooser::tryWithoutModule()
{
    try {
        openDevice(startEmulator_());
    } catch (const std::exception& error) {
        reason_->setText(
            tr("Cannot start the emulated module: %1").arg(QString::fromLocal8Bit(error.what())));
    }
}

void PortChooser::showReason(const QString& device)
{
    reason_->setText(portOpenReason(device, port_.errorText(), port_.error()));
}

} // namespace vindle
