#include "MainForm.h"

#include <QCloseEvent>
#include <QScreen>
#include <QShowEvent>

#include <exception>
#include <thread>

#include "Artwork.h"
#include "BatchRun.h"
#include "FormActions.h"
#include "FormFont.h"
#include "FrameCentring.h"
#include "ItemHeight.h"
#include "MainFormDesign.h"
#include "MessageBox.h"
#include "SettingsLocation.h"
#include "SettingsPath.h"
#include "SpeedButton.h"

namespace {

// A fixed-size label whose text is centred vertically and aligned `horizontal`.
QLabel* CreateLabel(QWidget* parent, const QString& caption, const QRect& geometry,
                    Qt::Alignment horizontal)
{
    auto* label = new QLabel(caption, parent);
    label->setAlignment(horizontal | Qt::AlignVCenter);
    label->setGeometry(geometry);
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
    setWindowTitle("Quellory");
    // Close and minimise, but no maximise: the layout is fixed.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(553, 404);
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
    const Qt::Alignment right = Qt::AlignRight;
    const Qt::Alignment left = Qt::AlignLeft;
    Label1 = CreateLabel(this, "目标网页地址：", {24, 32, 97, 20}, right);
    Label2 = CreateLabel(this, "累加变量范围：", {24, 64, 97, 20}, right);
    Label3 = CreateLabel(this, "到", {216, 64, 25, 20}, Qt::AlignHCenter);
    Label4 = CreateLabel(this, "变量用[-A-]表示", {344, 64, 113, 20}, left);
    Label5 = CreateLabel(this, "软件使用说明：", {24, 104, 97, 20}, right);

    Shape1 = new TShape(this);
    Shape1->setGeometry(40, 152, 73, 73);
    Image1 = new QLabel(this);
    Image1->setPixmap(QPixmap(kGlobePicture));
    Image1->setGeometry(53, 165, 48, 48);
    Shape2 = new TShape(this);
    Shape2->setGeometry(128, 104, 385, 137);

    Label6 = CreateLabel(this, "　　Quellory是一个网站开发工具，是一个网络型的工具", {140, 112, 365, 20}, left);
    Label7 = CreateLabel(this, "软件，它的作用在于把ＡＳＰ文件批量地存储为静态网页文件，主要", {140, 132, 365, 20}, left);
    Label8 = CreateLabel(this, "用于网站开发与编辑当中，软件的具体用法是首先输入一个目标的动", {140, 152, 365, 20}, left);
    Label9 = CreateLabel(this, "态页面网址，其中包含动态页面的页面号变量，然后对页面号变量的", {140, 172, 365, 20}, left);
    Label10 = CreateLabel(this, "范围进行设置，例如从0到100，然后设置好文件存储的路径和文件存", {140, 192, 365, 20}, left);
    Label11 = CreateLabel(this, "储的后缀名称，就可以进行网页文件批量生成操作", {140, 212, 365, 20}, left);
    for (QLabel* line : {Label6, Label7, Label8, Label9, Label10, Label11})
        line->setForegroundRole(QPalette::Text);  // they sit on Shape2's fill

    Label12 = CreateLabel(this, "文件存储目录：", {24, 264, 97, 20}, right);
    Label13 = CreateLabel(this, "文件存储名称：", {24, 296, 97, 20}, right);
    Label14 = CreateLabel(this, "后缀：", {208, 296, 41, 20}, right);
    Label15 = CreateLabel(this, "起点：", {312, 296, 41, 20}, right);
    Label16 = CreateLabel(this, "同名：", {416, 296, 41, 20}, right);

    ActionYes = CreateActionYes(this);
    ActionCancel = CreateActionCancel(this);
    connect(ActionYes, &QAction::triggered, this, &TFormMain::ActionYesExecute);
    connect(ActionCancel, &QAction::triggered, this, &TFormMain::ActionCancelExecute);
    SpeedButton1 = new TSpeedButton(this, ActionYes, {200, 344, 81, 33});
    SpeedButton2 = new TSpeedButton(this, ActionCancel, {328, 344, 81, 33});

    Edit1 = CreateEdit(this, {128, 32, 385, 20});
    Edit2 = CreateEdit(this, {128, 64, 81, 20});
    Edit3 = CreateEdit(this, {248, 64, 81, 20});
    Edit4 = CreateEdit(this, {128, 264, 353, 20});
    Button1 = new QPushButton(this);
    Button1->setGeometry(488, 264, 25, 21);
    Button1->setCursor(Qt::PointingHandCursor);
    connect(Button1, &QPushButton::clicked, this, &TFormMain::Button1Click);
    Edit5 = CreateEdit(this, {128, 296, 65, 20});
    Edit6 = CreateEdit(this, {256, 296, 41, 20});
    Edit7 = CreateEdit(this, {360, 296, 41, 20});
    ComboBox1 = new QComboBox(this);
    ComboBox1->addItems({"覆盖", "略过"});
    ComboBox1->setCurrentIndex(kChoiceOverwrite);
    ComboBox1->setGeometry(464, 296, 49, 20);
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
        ShowMessageBox(this, "线程启动失败");
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
