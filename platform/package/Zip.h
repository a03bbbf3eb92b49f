#pragma once

#include "platform/package/Package.h"

#include <QHash>

struct zip;   // libzip's archive

// The parts of a zip archive held in memory, read through libzip (a
// maintained C library from the distribution, with streaming reads and the
// sizes of each entry). Nothing is extracted to disk; the archive is refused
// whole when it is damaged or holds more entries than Limits allows, and a
// part is refused when it inflates past its limit or past the package's
// total, or when its compression ratio is one no document reaches. Sizes in
// the archive's headers are only used to refuse early: every read counts the
// bytes it inflates and stops at the cap.
namespace package {

class ZipParts : public Parts
{
public:
    // A compression ratio above this is refused once a part has inflated
    // past RatioGraceBytes. Deflate cannot pass about 1032:1 (a run of one
    // byte), so only a bomb in another method, or headers that lie, reach it.
    static constexpr qint64 MaxRatio = 1100;
    static constexpr qint64 RatioGraceBytes = qint64(1) << 20;

    // The archive is opened and its directory checked; on failure the parts
    // are empty and error() says why.
    explicit ZipParts(QByteArray archive, Limits limits = {});
    ~ZipParts() override;
    ZipParts(const ZipParts &) = delete;
    ZipParts &operator=(const ZipParts &) = delete;

    bool isOpen() const { return m_zip != nullptr; }
    QString error() const { return m_error; }

    // Files only, in the archive's order; folders and names that would reach
    // outside the package (absolute, "..", backslashes) are left out.
    QStringList names() const override { return m_names; }
    std::optional<QByteArray> read(const QString &name, QString *error = nullptr) const override;

    // The limit one part may inflate to: XML and the like get partBytes,
    // pictures and other binary parts pictureBytes.
    qint64 limitFor(const QString &name) const;
    // Bytes inflated so far, over every read.
    qint64 inflated() const { return m_inflated; }

    // True for a name a package may hold: relative, without "..", "."
    // segments, backslashes, control characters or empty segments.
    static bool safeName(const QString &name);

private:
    QByteArray m_archive;   // libzip reads from these bytes in place
    Limits m_limits;
    ::zip *m_zip = nullptr;
    QString m_error;
    QStringList m_names;
    QHash<QString, quint64> m_index;   // lower-case name -> entry
    mutable qint64 m_inflated = 0;
};

} // namespace package
