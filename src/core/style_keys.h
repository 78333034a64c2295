#ifndef BLL_STYLE_KEYS_H
#define BLL_STYLE_KEYS_H

#include <QtCore/QString>

// The keys of style and option maps, spelled once.
namespace StyleKey {
inline const QString style = QStringLiteral("style");
inline const QString width = QStringLiteral("width");
inline const QString color = QStringLiteral("color");
inline const QString brushColor = QStringLiteral("brushColor");
inline const QString textColor = QStringLiteral("textColor");
inline const QString fillColor = QStringLiteral("fillColor");
inline const QString pickBorderColor = QStringLiteral("pickBorderColor");
inline const QString paramBorderColor = QStringLiteral("paramBorderColor");
inline const QString pickParamBorderColor = QStringLiteral("pickParamBorderColor");
inline const QString isHoverColor = QStringLiteral("isHoverColor");
inline const QString isSelectedColor = QStringLiteral("isSelectedColor");
} // namespace StyleKey

namespace OptionKey {
inline const QString topBorder = QStringLiteral("topBorder");
inline const QString bottomBorder = QStringLiteral("bottomBorder");
inline const QString leftBorder = QStringLiteral("leftBorder");
inline const QString rightBorder = QStringLiteral("rightBorder");
inline const QString currentParam = QStringLiteral("currentParam");
inline const QString showText = QStringLiteral("showText");
inline const QString showBorder = QStringLiteral("showBorder");
inline const QString isHover = QStringLiteral("isHover");
inline const QString isSelected = QStringLiteral("isSelected");
// A parameter box's side parameters, as a box is read back and as a model's rows give them.
inline const QString topParam = QStringLiteral("topParam");
inline const QString bottomParam = QStringLiteral("bottomParam");
inline const QString leftParam = QStringLiteral("leftParam");
inline const QString rightParam = QStringLiteral("rightParam");
} // namespace OptionKey

// The sides of a box in the order they are drawn, as picking names them.
inline const QString sideNames[] = {QStringLiteral("top"), QStringLiteral("bottom"),
                                    QStringLiteral("left"), QStringLiteral("right")};

#endif // BLL_STYLE_KEYS_H
