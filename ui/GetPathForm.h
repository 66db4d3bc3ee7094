#pragma once

#include <QAction>
#include <QDialog>
#include "SpeedButton.h"

#include <string>

#include "DirectoryListBox.h"

// The folder chooser: a modal dialog in which the user opens a directory and
// confirms it. Closing it any way but OK counts as cancel.
class TFormGetPath : public QDialog {
public:
    // A hidden chooser, its frame centred on `parent`'s frame (on the screen
    // without a parent) when shown.
    explicit TFormGetPath(QWidget* parent);

    // OK: confirms the open directory (not the highlighted one) and closes.
    void ActionYesExecute();

    // Cancel: closes, leaving SelectedPath as it was.
    void ActionCancelExecute();

    std::string SelectedPath;  // the directory confirmed last; empty until then

    QAction* ActionYes;
    QAction* ActionCancel;
    TSpeedButton* SpeedButton1;
    TSpeedButton* SpeedButton2;
    TDirectoryListBox* DirectoryListBox1;
};
