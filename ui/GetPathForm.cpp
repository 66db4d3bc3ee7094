#include "GetPathForm.h"

#include <QScreen>

#include "FormActions.h"
#include "FormFont.h"
#include "FrameCentring.h"
#include "SpeedButton.h"

TFormGetPath::TFormGetPath(QWidget* parent) : QDialog(parent)
{
    // A title bar with no buttons: the chooser closes through its own two.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setWindowTitle("选择路径");
    setFixedSize(449, 315);
    setFont(FormFont());
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Button);
    KeepFrameCentredOn(this, [this] {
        if (parentWidget())
            return WindowFrame(parentWidget());
        return screen() ? screen()->availableGeometry() : geometry();
    });

    ActionYes = CreateActionYes(this);
    ActionCancel = CreateActionCancel(this);
    connect(ActionYes, &QAction::triggered, this, &TFormGetPath::ActionYesExecute);
    connect(ActionCancel, &QAction::triggered, this, &TFormGetPath::ActionCancelExecute);

    SpeedButton1 = new TSpeedButton(this, ActionYes, {344, 24, 81, 33});
    SpeedButton2 = new TSpeedButton(this, ActionCancel, {344, 72, 81, 33});
    DirectoryListBox1 = new TDirectoryListBox(this);
    DirectoryListBox1->setGeometry(24, 24, 297, 265);
}

void TFormGetPath::ActionYesExecute()
{
    SelectedPath = DirectoryListBox1->Directory();
    accept();
}

void TFormGetPath::ActionCancelExecute()
{
    reject();
}
