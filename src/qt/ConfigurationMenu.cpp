#include "qt/ConfigurationMenu.h"

#include "program/ConfigurationFile.h"
#include "program/SetupProgram.h"
#include "qt/MessageBox.h"
#include "qt/ProgramIdentity.h"
#include "qt/core/TextFile.h"

#include <QFileDialog>
#include <QLayout>
#include <QMenuBar>

namespace vindle {

namespace {

ConfigurationMenu::FileChooser& fileChooser()
{
    static ConfigurationMenu::FileChooser chooser;
    return chooser;
}

QString askForFile(QWidget* parent, ConfigurationMenu::Purpose purpose)
{
    const bool saving = purpose == ConfigurationMenu::Purpose::Save;
    QFileDialog dialog(parent, saving ? ConfigurationMenu::tr("Save Configuration As")
                                      : ConfigurationMenu::tr("Open Configuration"));
    dialog.setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilters({ConfigurationMenu::tr("Vindle configurations (*.json)"),
                           ConfigurationMenu::tr("All files (*)")});
    dialog.setDefaultSuffix(QStringLiteral("json"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace

ConfigurationMenu::ConfigurationMenu(SetupProgram& program, QWidget& mainWidget)
    : program_(program), mainWidget_(mainWidget)
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

void ConfigurationMenu::setFileChooser(FileChooser chooser)
{
    fileChooser() = std::move(chooser);
}

void ConfigurationMenu::open()
{
    const QString path = choose(Purpose::Open);
    if (path.isEmpty())
        return;
    const LoadedText loaded = loadTextFile(path);
    if (!loaded.error.isEmpty()) {
        tell(loaded.error);
        return;
    }
    ConfigurationFileContents contents;
    try {
        contents = parseConfigurationFile(loaded.text);
    } catch (const ConfigurationFileError& error) {
        tell(QString::fromStdString(error.what()));
        return;
    }
    const SetupProgram::Opened opened =
        program_.openConfiguration(contents.record, std::nullopt, contents.module);
    if (opened.busy) {
        tell(QString::fromUtf8(SetupProgram::kBusyMessage));
        return;
    }
    if (opened.otherModule)
        tell(QString::fromStdString(otherModuleMessage(*opened.otherModule)));
    if (!opened.unkept.empty())
        tell(QString::fromStdString(unkeptValuesMessage(opened.unkept)));
}

void ConfigurationMenu::saveAs()
{
    const SetupProgram::ToSave toSave = program_.configurationToSave();
    if (toSave.refusedLocation) {
        tell(QString::fromStdString(toSave.refusal));
        return;
    }
    const std::string text = formatConfigurationFile(toSave.contents);
    const QString path = choose(Purpose::Save);
    if (path.isEmpty())
        return;
    if (const QString error = saveTextFile(path, text); !error.isEmpty())
        tell(error);
    else
        program_.configurationSaved(toSave.contents.record);
}

QString ConfigurationMenu::choose(Purpose purpose) const
{
    if (fileChooser())
        return fileChooser()(&mainWidget_, purpose);
    return askForFile(&mainWidget_, purpose);
}

void ConfigurationMenu::tell(const QString& text) const
{
    MessageBox::information(&mainWidget_, ProgramIdentity::title(), text);
}

} // namespace vindle
