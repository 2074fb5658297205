#include "qt/MonitorFileDialogs.h"

#include "qt/core/TextFile.h"
#include "ui/model/Dialogs.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>

namespace vindle {

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("MonitorFileDialogs", text);
}

} // namespace

QString MonitorFileDialogs::askForFile(QWidget* parent, Purpose purpose)
{
    const bool lines = purpose == Purpose::SaveLines;
    QFileDialog dialog(parent, lines ? tr("Save Lines") : tr("Capture to File"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (lines) {
        dialog.setNameFilters({tr("Text files (*.txt)"), tr("All files (*)")});
        dialog.setDefaultSuffix(QStringLiteral("txt"));
    } else {
        // A capture goes on at the end of a file that is there already.
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        dialog.setNameFilters({tr("Captures (*.jsonl)"), tr("All files (*)")});
        dialog.setDefaultSuffix(QStringLiteral("jsonl"));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

void MonitorFileDialogs::saveLines(const std::string& text, Saved saved)
{
    const QString path = chooser_(Purpose::SaveLines);
    if (path.isEmpty())
        return;
    if (const QString error = saveTextFile(path, text); !error.isEmpty()) {
        dialogs_.showMessage(error.toStdString());
        return;
    }
    saved(QFileInfo(path).fileName().toStdString());
}

void MonitorFileDialogs::chooseCapture(Opened opened)
{
    const QString path = chooser_(Purpose::Capture);
    if (path.isEmpty())
        return;
    auto file = std::make_unique<AppendedFile>();
    if (const QString error = file->open(path); !error.isEmpty()) {
        dialogs_.showMessage(error.toStdString());
        return;
    }
    opened(QFileInfo(path).fileName().toStdString(), std::move(file));
}

QString AppendedFile::open(const QString& path)
{
    if (QFileInfo info(path); info.exists() && !info.isFile())
        return tr("%1 is not a file that a capture can go into.").arg(path);
    file_.setFileName(path);
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return tr("%1 could not be opened: %2").arg(path, file_.errorString());
    return {};
}

bool AppendedFile::append(const std::string& lines)
{
    const qint64 before = file_.size();
    const auto length = static_cast<qint64>(lines.size());
    if (file_.write(lines.data(), length) == length && file_.flush())
        return true;
    error_ = file_.errorString();
    // No line is left in part.
    file_.resize(before);
    return false;
}

} // namespace vindle
