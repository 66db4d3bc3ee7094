#pragma once

#include <QString>

// Paths of the program's pictures in its embedded resources.
inline const QString kGlobePicture = QStringLiteral(":/images/globe48.png");
inline const QString kApplicationIcon = QStringLiteral(":/images/globe32.png");
inline const QString kTickGlyph = QStringLiteral(":/images/tick24.png");
inline const QString kPowerGlyph = QStringLiteral(":/images/power24.png");
