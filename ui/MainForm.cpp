#include "MainForm.h"

#include <QCloseEvent>
#include <QScreen>
#include <QShowEvent>

#include <exception>
#include <thread>

#include "Artwork.h"
#include "BatchRun.h"
#include "DesignRect.h"
#include "FormActions.h"
#include "FormFont.h"
#include "FrameCentring.h"
#include "ItemHeight.h"
#include "MainFormDesign.h"
#include "MainFormDesign.h"
#include "MessageBox.h"
#include "SettingsLocation.h"
#include "SettingsPath.h"
#include "SpeedButton.h"

namespace {

Qt::Alignment Alignment(FormDesign::TextAlign align)
{
    switch (align) {
    case FormDesign::TextAlign::Left:
        return Qt::AlignLeft;
    case FormDesign::TextAlign::Centre:
        return Qt::AlignHCenter;
    case FormDesign::TextAlign::Right:
        return Qt::AlignRight;
    }
    return Qt::AlignLeft;
}

// A fixed-size label as designed; its text is centred vertically.
QLabel* CreateLabel(QWidget* parent, const FormDesign::Label& design)
{
    auto* label = new QLabel(QString::fromUtf8(design.caption), parent);
    label->setAlignment(Alignment(design.align) | Qt::AlignVCenter);
    label->setGeometry(DesignRect(design.bounds));
    return label;
}

QLineEdit* CreateEdit(QWidget* parent, const QRect& geometry)
{
    auto* edit = new QLineEdit(parent);
    edit->setGeometry(geometry);
    return edit;
}

void StartDetachedThread(std::function<void()> run)
{
    std::thread(std::move(run)).detach();
}

}  // namespace

TFormMain::TFormMain()
    : bridge_(std::make_shared<WindowBridge>(this)), startThread_(StartDetachedThread)
{
    setWindowTitle(MainFormDesign::kCaption);
    // Close and minimise, but no maximise: the layout is fixed.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(MainFormDesign::kClientSize.width, MainFormDesign::kClientSize.height);
    setFont(FormFont());
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Button);
    KeepFrameCentredOn(this, [this] { return screen() ? screen()->availableGeometry() : geometry(); });

    CreateComponents();
    MirrorFieldsToBridge();
    FormCreate();
}

TFormMain::~TFormMain()
{
    // Runs may go on after the window; they must not reach it any more.
    bridge_->Detach();
}

void TFormMain::CreateComponents()
{
    Label1 = CreateLabel(this, MainFormDesign::Label1);
    Label2 = CreateLabel(this, MainFormDesign::Label2);
    Label3 = CreateLabel(this, MainFormDesign::Label3);
    Label4 = CreateLabel(this, MainFormDesign::Label4);
    Label5 = CreateLabel(this, MainFormDesign::Label5);

    Shape1 = new TShape(this);
    Shape1->setGeometry(DesignRect(MainFormDesign::Shape1));
    Image1 = new QLabel(this);
    Image1->setPixmap(QPixmap(kGlobePicture));
    Image1->setGeometry(DesignRect(MainFormDesign::Image1));
    Shape2 = new TShape(this);
    Shape2->setGeometry(DesignRect(MainFormDesign::Shape2));

    Label6 = CreateLabel(this, MainFormDesign::Label6);
    Label7 = CreateLabel(this, MainFormDesign::Label7);
    Label8 = CreateLabel(this, MainFormDesign::Label8);
    Label9 = CreateLabel(this, MainFormDesign::Label9);
    Label10 = CreateLabel(this, MainFormDesign::Label10);
    Label11 = CreateLabel(this, MainFormDesign::Label11);
    for (QLabel* line : {Label6, Label7, Label8, Label9, Label10, Label11})
        line->setForegroundRole(QPalette::Text);  // they sit on Shape2's fill

    Label12 = CreateLabel(this, MainFormDesign::Label12);
    Label13 = CreateLabel(this, MainFormDesign::Label13);
    Label14 = CreateLabel(this, MainFormDesign::Label14);
    Label15 = CreateLabel(this, MainFormDesign::Label15);
    Label16 = CreateLabel(this, MainFormDesign::Label16);

    ActionYes = CreateActionYes(this);
    ActionCancel = CreateActionCancel(this);
    connect(ActionYes, &QAction::triggered, this, &TFormMain::ActionYesExecute);
    connect(ActionCancel, &QAction::triggered, this, &TFormMain::ActionCancelExecute);
    SpeedButton1 = new TSpeedButton(this, ActionYes, DesignRect(MainFormDesign::SpeedButton1));
    SpeedButton2 = new TSpeedButton(this, ActionCancel, DesignRect(MainFormDesign::SpeedButton2));

    Edit1 = CreateEdit(this, DesignRect(MainFormDesign::Edit1));
    Edit2 = CreateEdit(this, DesignRect(MainFormDesign::Edit2));
    Edit3 = CreateEdit(this, DesignRect(MainFormDesign::Edit3));
    Edit4 = CreateEdit(this, DesignRect(MainFormDesign::Edit4));
    Button1 = new QPushButton(this);
    Button1->setGeometry(DesignRect(MainFormDesign::Button1));
    Button1->setCursor(Qt::PointingHandCursor);
    connect(Button1, &QPushButton::clicked, this, &TFormMain::Button1Click);
    Edit5 = CreateEdit(this, DesignRect(MainFormDesign::Edit5));
    Edit6 = CreateEdit(this, DesignRect(MainFormDesign::Edit6));
    Edit7 = CreateEdit(this, DesignRect(MainFormDesign::Edit7));
    ComboBox1 = new QComboBox(this);
    for (const char* item : MainFormDesign::kSameNameItems)
        ComboBox1->addItem(QString::fromUtf8(item));
    ComboBox1->setCurrentIndex(kChoiceOverwrite);
    ComboBox1->setGeometry(DesignRect(MainFormDesign::ComboBox1));
    SetItemHeight(ComboBox1, MainFormDesign::kComboItemHeight);

    setTabOrder(Edit1, Edit2);
    setTabOrder(Edit2, Edit3);
    setTabOrder(Edit3, Edit4);
    setTabOrder(Edit4, Button1);
    setTabOrder(Button1, Edit5);
    setTabOrder(Edit5, Edit6);
    setTabOrder(Edit6, Edit7);
    setTabOrder(Edit7, ComboBox1);
}

void TFormMain::MirrorFieldsToBridge()
{
    // Runs read the fields from the bridge; keeping it in step on every
    // change lets them read without ever waiting for the UI thread.
    for (int i = 0; i < kJobFieldCount; ++i) {
        const auto field = static_cast<JobField>(i);
        connect(EditOf(field), &QLineEdit::textChanged, this,
                [this, field](const QString& text) { bridge_->SetFieldText(field, text.toStdString()); });
        bridge_->SetFieldText(field, EditOf(field)->text().toStdString());
    }
    connect(ComboBox1, &QComboBox::currentIndexChanged, this,
            [this](int index) { bridge_->SetChoiceIndex(index); });
    bridge_->SetChoiceIndex(ComboBox1->currentIndex());
}

QLineEdit* TFormMain::EditOf(JobField field) const
{
    const std::array<QLineEdit*, kJobFieldCount> edits = {Edit1, Edit2, Edit3, Edit4,
                                                          Edit5, Edit6, Edit7};
    return edits[static_cast<int>(field)];
}

void TFormMain::UseFolderChooser(TFormGetPath* chooser)
{
    folderChooser_ = chooser;
}

void TFormMain::UseThreadStarter(ThreadStarter starter)
{
    startThread_ = std::move(starter);
}

void TFormMain::UseSettingsFile(const std::string& iniFile, const std::string& shippedFile)
{
    IniFile = iniFile;
    shippedIniFile_ = shippedFile;
    bridge_->SetIniFile(IniFile);
}

void TFormMain::FormCreate()
{
    AppPath = ExecutableDirectory();
    const SettingsLocation location = SettingsLocationAtStartUp();
    UseSettingsFile(location.iniFile, location.shippedFile);
}

void TFormMain::FormShow()
{
    const JobFields fields = LoadJobFields(SettingsFileToLoad({IniFile, shippedIniFile_}));
    for (int i = 0; i < kJobFieldCount; ++i) {
        const auto field = static_cast<JobField>(i);
        EditOf(field)->setText(QString::fromStdString(fields[field]));
    }
    ComboBox1->setCurrentIndex(fields.sameNameChoice);
}

void TFormMain::ActionYesExecute()
{
    // The run saves the fields first; a per-user settings directory may not
    // exist yet.
    CreateSettingsDirectory(IniFile);
    try {
        startThread_([bridge = bridge_] {
            BatchThreadProc(*bridge);
            bridge->ShowCaptionNow();
        });
    } catch (const std::exception&) {
        // std::system_error when the system refuses a thread, std::bad_alloc
        // when there is no memory for one.
        ShowMessageBox(this, MainFormDesign::kThreadStartFailed);
    }
}

void TFormMain::ActionCancelExecute()
{
    close();
}

void TFormMain::Button1Click()
{
    if (folderChooser_ && folderChooser_->exec() == QDialog::Accepted)
        Edit4->setText(QString::fromStdString(folderChooser_->SelectedPath));
}

void TFormMain::showEvent(QShowEvent* event)
{
    // Restoring from the taskbar is a show too, but not a new showing.
    if (!event->spontaneous())
        FormShow();
    QWidget::showEvent(event);
}

void TFormMain::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    emit Closed();
}
