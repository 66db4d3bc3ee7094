#pragma once

#include <QString>
#include <QWidget>

// Shows `caption` as the title of the top-level `window`, character for
// character: "[*]" stays as typed and an empty caption stays empty.
void SetWindowCaption(QWidget* window, const QString& caption);
