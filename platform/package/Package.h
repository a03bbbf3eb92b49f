#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>

// The parts of a document package (a zip archive, or the parts a flat file
// stands for), read whole and by name. Names are compared without regard to
// case, as packages require; a reader never sees a path outside the package.
namespace package {

// What one package may hold before it is refused as hostile.
struct Limits {
    // One XML part, inflated. LibreOffice writes 100 MB of document.xml for
    // a letter of 10 MB of text that changes format every few words.
    qint64 partBytes = qint64(256) << 20;
    qint64 pictureBytes = qint64(32) << 20;     // one picture
    qint64 totalBytes = qint64(512) << 20;      // everything read from one package
    int entries = 5000;
};

class Parts
{
public:
    virtual ~Parts() = default;

    virtual QStringList names() const = 0;
    bool contains(const QString &name) const { return !find(name).isEmpty(); }
    // The stored name that matches name without regard to case; empty when none.
    QString find(const QString &name) const
    {
        for (const QString &stored : names()) {
            if (stored.compare(name, Qt::CaseInsensitive) == 0)
                return stored;
        }
        return {};
    }
    // The part's bytes, or nothing with the reason in *error: missing, over
    // its limit, or damaged.
    virtual std::optional<QByteArray> read(const QString &name, QString *error = nullptr) const = 0;
};

// Parts held in memory: the tests', and a flat file's.
class MemoryParts : public Parts
{
public:
    void add(const QString &name, const QByteArray &bytes)
    {
        m_names.append(name);
        m_parts.insert(name.toLower(), bytes);
    }
    QStringList names() const override { return m_names; }
    std::optional<QByteArray> read(const QString &name, QString *error = nullptr) const override
    {
        auto it = m_parts.constFind(name.toLower());
        if (it != m_parts.constEnd())
            return *it;
        if (error)
            *error = QStringLiteral("the package has no part %1").arg(name);
        return std::nullopt;
    }

private:
    QStringList m_names;
    QHash<QString, QByteArray> m_parts;
};

} // namespace package
