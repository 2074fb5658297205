#include "qt/core/TextFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace vindle {

namespace {

QString failure(const char* what, const QString& path, const QString& reason)
{
    return QCoreApplication::translate("TextFile", what)
        .arg(QDir::toNativeSeparators(path), reason);
}

} // namespace

LoadedText loadTextFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {{}, failure("Cannot open %1: %2", path, file.errorString())};
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {{}, failure("Cannot read %1: %2", path, file.errorString())};
    return {bytes.toStdString(), {}};
}

QString saveTextFile(const QString& path, std::string_view text)
{
    QSaveFile file(path);
    // Unbuffered: a write that the disk cuts short shows at once, rather than
    // in a flush whose failure the commit would not report.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return failure("Cannot write %1: %2", path, file.errorString());
    const auto size = static_cast<qint64>(text.size());
    if (file.write(text.data(), size) != size || !file.commit())
        return failure("Cannot write %1: %2", path, file.errorString());
    return {};
}

} // namespace vindle
