#include "GetPathForm.h"

#include <QScreen>

#include "DesignRect.h"
#include "FormActions.h"
#include "FormFont.h"
#include "GetPathFormDesign.h"
#include "FrameCentring.h"
#include "SpeedButton.h"

TFormGetPath::TFormGetPath(QWidget* parent) : QDialog(parent)
{
    // A title bar with no buttons: the chooser closes through its own two.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setWindowTitle(GetPathFormDesign::kCaption);
    setFixedSize(GetPathFormDesign::kClientSize.width, GetPathFormDesign::kClientSize.height);
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

    SpeedButton1 = new TSpeedButton(this, ActionYes, DesignRect(GetPathFormDesign::SpeedButton1));
    SpeedButton2 = new TSpeedButton(this, ActionCancel, DesignRect(GetPathFormDesign::SpeedButton2));
    DirectoryListBox1 = new TDirectoryListBox(this);
    DirectoryListBox1->setGeometry(DesignRect(GetPathFormDesign::DirectoryListBox1));
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
