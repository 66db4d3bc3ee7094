#include "FormActions.h"

#include <QIcon>

#include "Artwork.h"
#include "FormDesign.h"

QAction* CreateActionYes(QObject* owner)
{
    return new QAction(QIcon(kTickGlyph), FormDesign::kActionYesCaption, owner);
}

QAction* CreateActionCancel(QObject* owner)
{
    return new QAction(QIcon(kPowerGlyph), FormDesign::kActionCancelCaption, owner);
}
