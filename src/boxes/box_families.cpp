#include "../core/box_family.h"

// Each family defines its operations beside its painter.
extern const BoxFamilyOps parameterBoxOps;
extern const BoxFamilyOps dviBoxOps;
extern const BoxFamilyOps simpleBoxOps;

const BoxFamilyOps *const boxFamilies[BoxFamilyCount] = {&parameterBoxOps, &dviBoxOps,
                                                         &simpleBoxOps};
