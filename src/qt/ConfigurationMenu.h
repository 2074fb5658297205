#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QAction;
class QMenuBar;
class QWidget;

namespace vindle {

class SetupProgram;

// The main window's menu bar, above its designed area: "Open Configuration…"
// puts a configuration file into the windows as a read would (nothing is
// sent until Store Configuration), "Save Configuration As…" writes what the
// windows hold. What goes wrong is said in a message box.
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

    // Adds the menu bar to `mainWidget`'s layout, which grows by its height.
    ConfigurationMenu(SetupProgram& program, QWidget& mainWidget);

    QAction& openAction() const { return *open_; }
    QAction& saveAction() const { return *save_; }

    // Test seam: chooses files instead of the file dialogs; none restores them.
    static void setFileChooser(FileChooser chooser);

private:
    void open();
    void saveAs();
    QString choose(Purpose purpose) const;
    void tell(const QString& text) const;

    SetupProgram& program_;
    QWidget& mainWidget_;
    QMenuBar* menuBar_ = nullptr;
    QAction* open_ = nullptr;
    QAction* save_ = nullptr;
};

} // namespace vindle
