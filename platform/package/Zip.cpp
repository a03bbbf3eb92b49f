#include "platform/package/Zip.h"

#include <zip.h>

#include <algorithm>

namespace package {

namespace {

QString megabytes(qint64 bytes)
{
    return QStringLiteral("%1 MB").arg(bytes >> 20);
}

QString describe(zip_error_t *error)
{
    switch (zip_error_code_zip(error)) {
    case ZIP_ER_NOZIP:
    case ZIP_ER_EOF:
        return QStringLiteral("The archive is damaged or cut short.");
    case ZIP_ER_INCONS:
        return QStringLiteral("The archive is damaged: its directory does not match its entries.");
    case ZIP_ER_MULTIDISK:
        return QStringLiteral("The archive is split over several files.");
    case ZIP_ER_MEMORY:
        return QStringLiteral("There is not enough memory to open the archive.");
    default:
        return QStringLiteral("The archive is damaged (%1).").arg(QString::fromUtf8(zip_error_strerror(error)));
    }
}

bool binaryPart(const QString &name)
{
    const qsizetype slash = name.lastIndexOf(u'/');
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot <= slash)
        return false;   // "mimetype" and other names without an extension
    const QStringView ext = QStringView(name).sliced(dot + 1);
    return ext.compare(u"xml", Qt::CaseInsensitive) != 0 && ext.compare(u"rels", Qt::CaseInsensitive) != 0;
}

} // namespace

ZipParts::ZipParts(QByteArray archive, Limits limits) : m_archive(std::move(archive)), m_limits(limits)
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t *source = zip_source_buffer_create(m_archive.constData(), zip_uint64_t(m_archive.size()), 0, &error);
    zip_t *opened = source ? zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error) : nullptr;
    if (!opened) {
        if (source)
            zip_source_free(source);
        m_error = describe(&error);
        zip_error_fini(&error);
        return;
    }
    zip_error_fini(&error);
    m_zip = opened;

    const zip_int64_t count = zip_get_num_entries(m_zip, 0);
    if (count < 0 || count > m_limits.entries) {
        m_error = QStringLiteral("The archive holds %1 entries; a document holds at most %2.")
                      .arg(count)
                      .arg(m_limits.entries);
        zip_discard(m_zip);
        m_zip = nullptr;
        return;
    }
    for (zip_uint64_t i = 0; i < zip_uint64_t(count); ++i) {
        const char *raw = zip_get_name(m_zip, i, ZIP_FL_ENC_GUESS);
        if (!raw)
            continue;
        const QString name = QString::fromUtf8(raw);
        if (name.endsWith(u'/') || !safeName(name))
            continue;
        const QString key = name.toLower();
        if (m_index.contains(key)) {
            // Two readers of the package could each take a different one.
            m_error = QStringLiteral("The archive holds two entries named %1.").arg(name);
            m_names.clear();
            m_index.clear();
            zip_discard(m_zip);
            m_zip = nullptr;
            return;
        }
        m_index.insert(key, i);
        m_names.append(name);
    }
}

ZipParts::~ZipParts()
{
    if (m_zip)
        zip_discard(m_zip);   // read-only: nothing to write back
}

bool ZipParts::safeName(const QString &name)
{
    if (name.isEmpty() || name.startsWith(u'/') || name.contains(u'\\'))
        return false;
    if (name.size() >= 2 && name.at(1) == u':')
        return false;   // a drive letter
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return false;
    }
    const QStringList segments = name.split(u'/');
    for (qsizetype i = 0; i < segments.size(); ++i) {
        const QString &segment = segments.at(i);
        if (segment == u"." || segment == u".." || (segment.isEmpty() && i + 1 < segments.size()))
            return false;
    }
    return true;
}

qint64 ZipParts::limitFor(const QString &name) const
{
    return binaryPart(name) ? m_limits.pictureBytes : m_limits.partBytes;
}

std::optional<QByteArray> ZipParts::read(const QString &name, QString *error) const
{
    auto fail = [error](const QString &why) -> std::optional<QByteArray> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    const auto found = m_index.constFind(name.toLower());
    if (!m_zip || found == m_index.constEnd())
        return fail(QStringLiteral("the package has no part %1").arg(name));
    const zip_uint64_t index = *found;
    const qint64 cap = limitFor(name);
    const QString tooLarge = QStringLiteral("the part %1 is larger than %2").arg(name, megabytes(cap));
    const QString overTotal = QStringLiteral("the package inflates to more than %1").arg(megabytes(m_limits.totalBytes));
    const QString bomb = QStringLiteral("the part %1 is compressed more than any document is").arg(name);

    // The headers' sizes refuse early; they are not trusted further.
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(m_zip, index, 0, &stat) != 0)
        return fail(QStringLiteral("the part %1 is damaged").arg(name));
    const bool sized = (stat.valid & ZIP_STAT_SIZE) != 0;
    const bool compressedSized = (stat.valid & ZIP_STAT_COMP_SIZE) != 0;
    const qint64 compressed = compressedSized ? qint64(std::min<zip_uint64_t>(stat.comp_size, zip_uint64_t(1) << 40)) : -1;
    if (sized && stat.size > zip_uint64_t(cap))
        return fail(tooLarge);
    if (sized && m_inflated + qint64(stat.size) > m_limits.totalBytes)
        return fail(overTotal);
    auto absurd = [&](qint64 inflated) {
        return compressed >= 0 && inflated > RatioGraceBytes && inflated > std::max<qint64>(compressed, 1) * MaxRatio;
    };
    if (sized && absurd(qint64(stat.size)))
        return fail(bomb);

    zip_file_t *file = zip_fopen_index(m_zip, index, 0);
    if (!file) {
        zip_error_t *why = zip_get_error(m_zip);
        const int code = zip_error_code_zip(why);
        if (code == ZIP_ER_NOPASSWD || code == ZIP_ER_WRONGPASSWD || code == ZIP_ER_ENCRNOTSUPP)
            return fail(QStringLiteral("the part %1 is encrypted").arg(name));
        if (code == ZIP_ER_COMPNOTSUPP)
            return fail(QStringLiteral("the part %1 is compressed in a way this program cannot read").arg(name));
        return fail(QStringLiteral("the part %1 is damaged (%2)").arg(name, QString::fromUtf8(zip_error_strerror(why))));
    }

    QByteArray bytes;
    if (sized)   // pages of a reservation that a lying header overstates are never touched
        bytes.reserve(qsizetype(std::min<zip_uint64_t>(stat.size, zip_uint64_t(cap))));
    char chunk[64 * 1024];
    std::optional<QString> refusal;
    qint64 total = 0;
    for (;;) {
        const zip_int64_t got = zip_fread(file, chunk, sizeof chunk);
        if (got < 0) {
            refusal = QStringLiteral("the part %1 is damaged (%2)")
                          .arg(name, QString::fromUtf8(zip_error_strerror(zip_file_get_error(file))));
            break;
        }
        if (got == 0)
            break;
        total += got;
        m_inflated += got;
        if (total > cap) {
            refusal = tooLarge;
            break;
        }
        if (m_inflated > m_limits.totalBytes) {
            refusal = overTotal;
            break;
        }
        if (absurd(total)) {
            refusal = bomb;
            break;
        }
        bytes.append(chunk, qsizetype(got));
    }
    zip_fclose(file);
    if (refusal)
        return fail(*refusal);
    if (sized && zip_uint64_t(total) != stat.size)
        return fail(QStringLiteral("the part %1 is damaged (its size is not the one recorded)").arg(name));
    return bytes;
}

} // namespace package
