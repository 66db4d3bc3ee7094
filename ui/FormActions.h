#pragma once

#include <QAction>
#include <QObject>

// The OK action both windows bind their first speed button to: "确定" with the tick glyph.
QAction* CreateActionYes(QObject* owner);

// The cancel action both windows bind their second speed button to: "取消" with the power glyph.
QAction* CreateActionCancel(QObject* owner);
