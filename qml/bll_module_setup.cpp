#include <bll_painted_item_accessibility.h>

#include <QtCore/QtGlobal>

// Importing the module makes every item's boxes reachable by screen readers, under Qt 5 and
// Qt 6 alike: this runs when the engine loads the plug-in.
static void installAccessibility()
{
    BllAccessibility::install();
}
Q_CONSTRUCTOR_FUNCTION(installAccessibility)
