#include "FormActions.h"

#include <QIcon>

#include "Artwork.h"

QAction* CreateActionYes(QObject* owner)
{
    return new QAction(QIcon(kTickGlyph), "确定", owner);
}

QAction* CreateActionCancel(QObject* owner)
{
    return new QAction(QIcon(kPowerGlyph), "取消", owner);
}
