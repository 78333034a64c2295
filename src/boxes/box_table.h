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

// Releases the storage as well: a cleared table is a new, empty table.
template<typename Record>
void Bll_Painted_Item::BoxTable<Record>::clear()
{
    m_indexById = QHash<QString, int>();
    m_entries = QVector<Entry>();
}

#endif // BLL_BOX_TABLE_H
