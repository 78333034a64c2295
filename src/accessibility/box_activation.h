#ifndef BLL_BOX_ACTIVATION_H
#define BLL_BOX_ACTIVATION_H

// An accessibility action on a box reaches the navigators aimed at its item, which report it as
// a key would. Private to the library.

#include "item_accessible.h"

namespace BoxActivation {

void activate(Bll_Painted_Item *item, const AccessibleBox &box);

} // namespace BoxActivation

#endif // BLL_BOX_ACTIVATION_H
