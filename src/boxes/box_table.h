#ifndef BLL_BOX_TABLE_H
#define BLL_BOX_TABLE_H

// Member functions of Bll_Painted_Item::BoxTable, the keyed store that the
// three box families share. Include only inside the library.

#include "bll_painted_item.h"

template<typename Record>
int Bll_Painted_Item::BoxTable<Record>::indexOf(const QString &boxId) const
{
    return m_indexById.value(boxId, -1);
}

// A boxId seen before keeps its place in the order; only its record changes.
template<typename Record>
int Bll_Painted_Item::BoxTable<Record>::insert(const QString &boxId, const Record &record)
{
    const auto it = m_indexById.constFind(boxId);
    if (it != m_indexById.cend()) {
        // GCC 12 takes the vector's shared empty header for where the record goes.
        QT_WARNING_PUSH
        QT_WARNING_DISABLE_GCC("-Wstringop-overflow")
        m_entries[*it].record = record;
        QT_WARNING_POP
        return *it;
    }
    m_indexById.insert(boxId, m_entries.size());
    m_entries.append(Entry {boxId, record});
    return m_entries.size() - 1;
}

// A removed box leaves its place empty, so that no other box changes place: the place keeps a
// record that draws nothing (no number for its corner or size), under no boxId. Painting, picking
// and the index pass over it as over any box that draws nothing.
template<typename Record>
int Bll_Painted_Item::BoxTable<Record>::remove(const QString &boxId)
{
    const auto it = m_indexById.find(boxId);
    if (it == m_indexById.end())
        return -1;
    const int index = *it;
    m_indexById.erase(it);
    Entry &entry = m_entries[index];
    entry.boxId = QString();
    entry.record = Record {};
    entry.record.x = entry.record.y = entry.record.width = entry.record.height = qQNaN();
    return index;
}

// Walking empty places costs every frame; dropping them costs one frame that starts anew.
template<typename Record>
bool Bll_Painted_Item::BoxTable<Record>::compact()
{
    const int boxes = boxCount(), empty = size() - boxes;
    if (empty == 0 || (boxes > 0 && (empty < 64 || empty <= boxes)))
        return false;
    QVector<Entry> entries;
    entries.reserve(boxes);
    for (int i = 0; i < m_entries.size(); ++i) {
        if (holdsBox(i)) {
            m_indexById[m_entries.at(i).boxId] = entries.size();
            entries.append(m_entries.at(i));
        }
    }
    m_entries = entries;
    if (boxes == 0)
        clear();
    return true;
}

// Releases the storage as well: a cleared table is a new, empty table.
template<typename Record>
void Bll_Painted_Item::BoxTable<Record>::clear()
{
    m_indexById = QHash<QString, int>();
    m_entries = QVector<Entry>();
}

#endif // BLL_BOX_TABLE_H
