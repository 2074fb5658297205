#include "qt/ConfigurationMenu.h"

#include "qt/core/TextFile.h"
#include "ui/model/Dialogs.h"

#include <QFileDialog>
#include <QLayout>
#include <QMenuBar>

namespace vindle {

QString ConfigurationMenu::askForFile(QWidget* parent, Purpose purpose)
{
    const bool saving = purpose == Purpose::Save;
    QFileDialog dialog(parent, saving ? tr("Save Configuration As") : tr("Open Configuration"));
    dialog.setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilters({tr("Vindle configurations (*.json)"), tr("All files (*)")});
    dialog.setDefaultSuffix(QStringLiteral("json"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

ConfigurationMenu::ConfigurationMenu(SetupProgram& program, QWidget& mainWidget, Dialogs& dialogs,
                                     FileChooser chooser)
    : files_(program), mainWidget_(mainWidget), dialogs_(dialogs), chooser_(std::move(chooser))
{
    menuBar_ = new QMenuBar(&mainWidget);
    QMenu* const file = menuBar_->addMenu(tr("&File"));
    open_ = file->addAction(tr("Open Configuration…"), this, &ConfigurationMenu::open);
    open_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    save_ = file->addAction(tr("Save Configuration As…"), this, &ConfigurationMenu::saveAs);
    save_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    // The shortcuts work while the menu is closed.
    mainWidget.addActions({open_, save_});

    // The bar goes above the designed area, which keeps its size (the
    // window's binder sizes the window anew).
    mainWidget.layout()->setMenuBar(menuBar_);
}

void ConfigurationMenu::open()
{
    const QString path = chooser_(&mainWidget_, Purpose::Open);
    if (path.isEmpty())
        return;
    const LoadedText loaded = loadTextFile(path);
    if (!loaded.error.isEmpty()) {
        tell(loaded.error.toStdString());
        return;
    }
    for (const std::string& message : files_.open(loaded.text).messages())
        tell(message);
}

void ConfigurationMenu::saveAs()
{
    const FileCommands::ToSave toSave = files_.save();
    if (!toSave.text) {
        tell(toSave.refusal);
        return;
    }
    const QString path = chooser_(&mainWidget_, Purpose::Save);
    if (path.isEmpty())
        return;
    if (const QString error = saveTextFile(path, *toSave.text); !error.isEmpty())
        tell(error.toStdString());
    else
        files_.saved();
}

void ConfigurationMenu::tell(const std::string& text) const
{
    dialogs_.showMessage(text);
}

} // namespace vindle
