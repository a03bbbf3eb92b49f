#include "platform/DocumentFile.h"

#include "platform/Failure.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <sys/stat.h>

namespace documentfile {

namespace {

constexpr qint64 MaxLoadBytes = qint64(1) << 30;

QString tr(const char *text)
{
    return QCoreApplication::translate("RichTextBox", text);
}

QString describe(const QString &path)
{
    return QFileInfo(path).absoluteFilePath();
}

} // namespace

QByteArray read(const QString &path)
{
    const QFileInfo info(path);
    if (info.isDir())
        throw Failure(tr("Cannot open %1:\nIt is a folder, not a file.").arg(describe(path)));
    // A device or a pipe may never end (or never start): only files are read.
    if (info.exists() && !info.isFile())
        throw Failure(tr("Cannot open %1:\nIt is a device or a pipe, not a file.").arg(describe(path)));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Failure(tr("Cannot open %1:\n%2.").arg(describe(path), file.errorString()));
    if (file.size() > MaxLoadBytes)
        throw Failure(tr("Cannot open %1:\nThe file is too large.").arg(describe(path)));
    QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw Failure(tr("Cannot read %1:\n%2.").arg(describe(path), file.errorString()));
    return data;
}

void write(const QString &path, const QByteArray &bytes)
{
    const QFileInfo info(path);
    if (info.isDir())
        throw Failure(tr("Cannot save %1:\nIt is a folder.").arg(describe(path)));

    if (info.exists() && !info.isFile()) {
        struct stat status {};
        if (::stat(QFile::encodeName(path).constData(), &status) != 0 || !S_ISCHR(status.st_mode))
            throw Failure(tr("Cannot save %1:\nIt is a pipe or a socket, not a file.").arg(describe(path)));
        // A device cannot be replaced; write straight into it.
        QFile device(path);
        if (!device.open(QIODevice::WriteOnly) || device.write(bytes) != bytes.size() || !device.flush())
            throw Failure(tr("Cannot save %1:\n%2.").arg(describe(path), device.errorString()));
        return;
    }

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw Failure(tr("Cannot save %1:\n%2.").arg(describe(path), file.errorString()));
    // A disk that fills takes part of a write without a reason; the next
    // write fails with it ("No space left on device").
    qint64 written = 0;
    while (written < bytes.size()) {
        const qint64 step = file.write(bytes.constData() + written, bytes.size() - written);
        if (step <= 0)
            break;
        written += step;
    }
    if (written != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        throw Failure(tr("Cannot save %1:\n%2.").arg(describe(path), reason));
    }
    if (!file.commit())
        throw Failure(tr("Cannot save %1:\n%2.").arg(describe(path), file.errorString()));
}

} // namespace documentfile
