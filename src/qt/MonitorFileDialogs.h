#pragma once

#include "program/MonitorWindowLines.h"

#include <QFile>
#include <QString>
#include <functional>

class QWidget;

namespace vindle {

class Dialogs;

// The data monitor's files on the desktop: Save Lines… writes a text file
// whole (the old one stays until the new one is complete), Capture to File…
// appends to a file in whole lines. What goes wrong is said through
// `dialogs`.
class MonitorFileDialogs final : public MonitorFiles
{
public:
    enum class Purpose
    {
        SaveLines,
        Capture,
    };
    // Asks the person for a file; an empty path when the person cancels.
    using FileChooser = std::function<QString(Purpose purpose)>;
    // The file dialogs, over `parent` (the data monitor, once it exists).
    static QString askForFile(QWidget* parent, Purpose purpose);

    MonitorFileDialogs(Dialogs& dialogs, FileChooser chooser)
        : dialogs_(dialogs), chooser_(std::move(chooser))
    {}

    void saveLines(const std::string& text, Saved saved) override;
    void chooseCapture(Opened opened) override;

private:
    Dialogs& dialogs_;
    FileChooser chooser_;
};

// A capture's file on the desktop, opened to append; each append reaches
// the system at once, and one that fails is taken back to where it began.
class AppendedFile final : public CaptureFile
{
public:
    // Why the file at `path` cannot be appended to, or an empty text.
    QString open(const QString& path);

    bool append(const std::string& lines) override;
    std::string error() const override { return error_.toStdString(); }

private:
    QFile file_;
    QString error_;
};

} // namespace vindle
