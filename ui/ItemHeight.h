#pragma once

#include <QComboBox>

// Makes the items of `combo`'s drop-down list `height` pixels high, drawn as
// list entries with the style's colours.
void SetItemHeight(QComboBox* combo, int height);
