#pragma once

#include "RtfModel.h"

#include <QByteArray>
#include <QHash>
#include <QString>

#include <vector>

namespace rtf {

// Faces, tab stop lists and paragraph looks a reader of another format puts
// into the model once each, found again by value.
class ModelInterner
{
public:
    int face(Document &doc, const QString &face)
    {
        if (const auto it = m_faces.constFind(face); it != m_faces.constEnd())
            return *it;
        const int id = int(doc.faces.size());
        doc.faces.append(face);
        m_faces.insert(face, id);
        return id;
    }

    // 0, the model's empty list, for no stops.
    int tabs(Document &doc, const std::vector<TabStop> &stops)
    {
        if (stops.empty())
            return 0;
        QByteArray key;
        for (const TabStop &t : stops) {
            key.append(reinterpret_cast<const char *>(&t.position), sizeof t.position);
            key.append(char(t.kind));
            key.append(char(t.leader));
        }
        auto it = m_tabs.constFind(key);
        if (it == m_tabs.constEnd()) {
            it = m_tabs.insert(key, int(doc.tabLists.size()));
            doc.tabLists.push_back(stops);
        }
        return *it;
    }

    int para(Document &doc, const ParaProps &p)
    {
        auto it = m_paras.constFind(p);
        if (it == m_paras.constEnd()) {
            it = m_paras.insert(p, int(doc.paraProps.size()));
            doc.paraProps.push_back(p);
        }
        return *it;
    }

private:
    QHash<QString, int> m_faces;
    QHash<QByteArray, int> m_tabs;
    QHash<ParaProps, int> m_paras;
};

} // namespace rtf
