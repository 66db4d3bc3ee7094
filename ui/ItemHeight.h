#pragma once

#include <QComboBox>

// Makes the items of `combo`'s drop-down list `height` pixels high, drawn
// otherwise as the style draws them.
void SetItemHeight(QComboBox* combo, int height);
