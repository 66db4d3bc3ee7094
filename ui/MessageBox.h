#pragma once

#include <QString>
#include <QWidget>

// Shows `text` with an OK button in a box titled with the program's title,
// over `parent`, and returns without waiting for the user.
void ShowMessageBox(QWidget* parent, const QString& text);
