#pragma once

#include <QFont>

// The font of every window: "SimSun", 12 pixels high. Where SimSun is not
// installed, the Song-style font the setup installs stands in for it.
QFont FormFont();
