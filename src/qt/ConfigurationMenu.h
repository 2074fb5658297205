#pragma once

#include "program/FileCommands.h"

#include <QObject>
#include <QString>
#include <functional>
#include <string>

class QAction;
class QMenuBar;
class QWidget;

namespace vindle {

class Dialogs;
class SetupProgram;

// The main window's menu bar, above its designed area: "Open Configuration…"
// puts a configuration file into the windows as a read would (nothing is
// sent until Store Configuration), "Save Configuration As…" writes what the
// windows hold. What goes wrong is said through `dialogs`.
class ConfigurationMenu final : public QObject
{
    Q_OBJECT

public:
    enum class Purpose
    {
        Open,
        Save,
    };
    // Asks the user for a file; an empty path when the user cancels.
    using FileChooser = std::function<QString(QWidget* parent, Purpose purpose)>;
    // The file dialogs.
    static QString askForFile(QWidget* parent, Purpose purpose);

    // Adds the menu bar to `mainWidget`'s layout, which grows by its height.
    ConfigurationMenu(SetupProgram& program, QWidget& mainWidget, Dialogs& dialogs,
                      FileChooser chooser = askForFile);

    QAction& openAction() const { return *open_; }
    QAction& saveAction() const { return *save_; }

private:
    void open();
    void saveAs();
    void tell(const std::string& text) const;

    FileCommands files_;
    QWidget& mainWidget_;
    Dialogs& dialogs_;
    FileChooser chooser_;
    QMenuBar* menuBar_ = nullptr;
    QAction* open_ = nullptr;
    QAction* save_ = nullptr;
};

} // namespace vindle
