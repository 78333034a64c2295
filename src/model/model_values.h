#ifndef BLL_MODEL_VALUES_H
#define BLL_MODEL_VALUES_H

// Values from QML and from models, turned into what the item's methods take as QML would turn
// them. Private to the library.

#include <QtCore/QStringList>
#include <QtCore/QVariant>
#include <QtQml/QJSValue>

#include <cmath>

namespace ModelValues {

// What a script passed, with a JavaScript value unwrapped.
inline QVariant plain(const QVariant &value)
{
    return value.userType() == qMetaTypeId<QJSValue>() ? value.value<QJSValue>().toVariant()
                                                       : value;
}

// One boxId or a list of them; nothing for null or undefined.
inline QStringList boxIds(const QVariant &value)
{
    const QVariant v = plain(value);
    QStringList ids;
    if (v.userType() == QMetaType::QVariantList || v.userType() == QMetaType::QStringList) {
        for (const QVariant &id : v.toList())
            ids << id.toString();
    } else if (v.isValid() && !v.isNull() && v.userType() != QMetaType::Nullptr) {
        ids << v.toString();
    }
    return ids;
}

// A coordinate or size: what does not convert to a number is not a number, as a script's
// undefined passed to a double is.
inline double number(const QVariant &value)
{
    bool ok = false;
    const double x = value.toDouble(&ok);
    return ok ? x : std::nan("");
}

} // namespace ModelValues

#endif // BLL_MODEL_VALUES_H
