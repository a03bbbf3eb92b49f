#pragma once

#include <QByteArray>
#include <QString>

// The surface's file layer: reads a document file whole and writes one so
// that the old file is never left half overwritten. Both throw Failure with
// a message that names the file and the reason.
namespace documentfile {

// Refuses folders, devices, pipes and files no letter or note could be.
QByteArray read(const QString &path);

// Writes beside the target and renames over it only when complete; a
// character device (a printer port, /dev/null) is written straight; a pipe
// or a socket is refused, as it would wait for a reader that may never come.
void write(const QString &path, const QByteArray &bytes);

} // namespace documentfile
