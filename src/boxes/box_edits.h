#ifndef BLL_BOX_EDITS_H
#define BLL_BOX_EDITS_H

// What the library offers beside the class's 30 methods: boxes read back as they are stored,
// one box removed, many simple boxes' states set at once, a parameter box's side parameters
// given one by one. Each edit tells ItemChanges what it changed, as the stores do. Private to
// the library; BllBoxes and BllBoxModel are its users.

#include "../core/box_family.h"

#include <QtCore/QStringList>
#include <QtCore/QVariantMap>

namespace BoxEdits {

// The family of a name as picking gives it ("parameter", "dvi", "simple"); false for others.
bool familyNamed(const QString &name, BoxFamily *family);

// The box under boxId: "family", "boxId", "x", "y", "width", "height", "borderWidth" (parameter
// and DVI boxes) and every state under the key that the family's option maps use, with the side
// parameters of a parameter box as "topParam", "bottomParam", "leftParam", "rightParam". Empty
// when there is no such box.
QVariantMap box(const Bll_Painted_Item &item, BoxFamily family, const QString &boxId);
// The boxIds in paint order.
QStringList ids(const Bll_Painted_Item &item, BoxFamily family);
int count(const Bll_Painted_Item &item, BoxFamily family);
// The place of the box in the family's table (its paint order); -1 for none.
int indexOf(const Bll_Painted_Item &item, BoxFamily family, const QString &boxId);
// Whether a box is at that place, rather than the empty place a removed box left.
bool holdsBox(const Bll_Painted_Item &item, BoxFamily family, int index);

// Takes the box out: the next frame repaints where it was. False for an unknown boxId.
bool remove(Bll_Painted_Item &item, BoxFamily family, const QString &boxId);
// Takes the listed boxes out (unknown boxIds passed over); returns how many. Listing every box
// of the family clears it at once, which is what taking them out one by one comes to.
int remove(Bll_Painted_Item &item, BoxFamily family, const QStringList &boxIds);

// Moves a box: its corner, size and (for parameter and DVI boxes) border width become these, its
// states stay. False for an unknown boxId.
bool setGeometry(Bll_Painted_Item &item, BoxFamily family, const QString &boxId, double x, double y,
                 double width, double height, double borderWidth);

// Sets "isHover" and "isSelected", where `states` holds them, as updateBoxSimpleF() does, on the
// listed simple boxes (unknown ones are passed over), or on all of them when boxIds is null.
// Returns how many boxes changed.
int setSimpleStates(Bll_Painted_Item &item, const QStringList *boxIds, const QVariantMap &states);

// Gives a parameter box the side parameters that `params` holds ("topParam" and so on, each
// converted with toReal() as "currentParam" is); false for an unknown boxId.
bool setParameters(Bll_Painted_Item &item, const QString &boxId, const QVariantMap &params);

} // namespace BoxEdits

#endif // BLL_BOX_EDITS_H
