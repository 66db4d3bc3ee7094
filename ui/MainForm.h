#pragma once

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "GetPathForm.h"
#include "JobFields.h"
#include "Shape.h"
#include "SpeedButton.h"
#include "WindowBridge.h"

// Starts `run` on a new thread and returns at once, without keeping the thread;
// throws (std::system_error, std::bad_alloc) when no thread can be started.
using ThreadStarter = std::function<void(std::function<void()> run)>;

// The main window: holds the job fields, starts runs, shows their progress in
// its caption and opens the folder chooser.
class TFormMain : public QWidget {
    Q_OBJECT

public:
    TFormMain();
    ~TFormMain() override;

    // Sets the chooser the browse button shows.
    void UseFolderChooser(TFormGetPath* chooser);

    // Replaces the way OK starts its thread (tests make it fail).
    void UseThreadStarter(ThreadStarter starter);

    // Sets the settings file, and the file of shipped defaults read while it
    // does not exist yet (tests use it to move both away from the executable).
    void UseSettingsFile(const std::string& iniFile, const std::string& shippedFile = "");

    // Fixes AppPath and IniFile (beside the executable, or per user when this
    // user may not write there).
    void FormCreate();

    // Loads the job fields from the settings file into the edits and the choice.
    void FormShow();

    // OK: starts a run on a new thread and returns at once.
    void ActionYesExecute();

    // Cancel: closes the window, which ends the program.
    void ActionCancelExecute();

    // Browse: lets the user choose the output directory.
    void Button1Click();

    // The edit that shows `field`.
    QLineEdit* EditOf(JobField field) const;

    std::string AppPath;  // the executable's directory, ending in "/"
    std::string IniFile;  // the settings file

    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;
    TShape* Shape1;
    QLabel* Image1;
    TShape* Shape2;
    QLabel* Label6;
    QLabel* Label7;
    QLabel* Label8;
    QLabel* Label9;
    QLabel* Label10;
    QLabel* Label11;
    QLabel* Label12;
    QLabel* Label13;
    QLabel* Label14;
    QLabel* Label15;
    QLabel* Label16;
    QAction* ActionYes;
    QAction* ActionCancel;
    TSpeedButton* SpeedButton1;
    TSpeedButton* SpeedButton2;
    QLineEdit* Edit1;
    QLineEdit* Edit2;
    QLineEdit* Edit3;
    QLineEdit* Edit4;
    QPushButton* Button1;
    QLineEdit* Edit5;
    QLineEdit* Edit6;
    QLineEdit* Edit7;
    QComboBox* ComboBox1;

signals:
    // The window has closed.
    void Closed();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateComponents();
    void MirrorFieldsToBridge();

    std::shared_ptr<WindowBridge> bridge_;
    std::string shippedIniFile_;
    ThreadStarter startThread_;
    TFormGetPath* folderChooser_ = nullptr;
};
