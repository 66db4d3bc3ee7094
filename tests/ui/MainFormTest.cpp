#include "MainForm.h"

#include <QApplication>
#include <QFontInfo>
#include <QAbstractItemView>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <cmath>
#include <exception>
#include <functional>
#include <mutex>
#include <new>
#include <system_error>

#include "GetPathForm.h"
#include "LoopbackServer.h"
#include "TempDir.h"
#include "UiTestSupport.h"

namespace fs = std::filesystem;

namespace {

const QString kCompletion = "文件生成完毕！";

// Holds pages back until the test lets them go, so a test can see what the
// window shows while a run waits for a page.
class PageGate {
public:
    // Blocks until page `number` may be served (or ten seconds have gone).
    void WaitFor(int number)
    {
        std::unique_lock lock(mutex_);
        changed_.wait_for(lock, std::chrono::seconds(10), [&] { return allowed_ >= number; });
    }

    // Lets every page up to `number` through.
    void Allow(int number)
    {
        std::lock_guard lock(mutex_);
        allowed_ = std::max(allowed_, number);
        changed_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    int allowed_ = 0;
};

// The body served for page `number`: bytes that no text conversion leaves alone.
std::string PageBody(int number)
{
    return "<p>page " + std::to_string(number) + "</p>\r\n\xff\xfe\x01";
}

// The relative luminance of `colour`, as contrast between colours is measured.
double Luminance(const QColor& colour)
{
    const auto linear = [](double channel) {
        return channel <= 0.03928 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) + 0.0722 * linear(colour.blueF());
}

// How far apart two colours stand for the eye: 1 for none, 21 for black on white.
double Contrast(const QColor& a, const QColor& b)
{
    const double lighter = std::max(Luminance(a), Luminance(b));
    const double darker = std::min(Luminance(a), Luminance(b));
    return (lighter + 0.05) / (darker + 0.05);
}

// Whether `inner`'s centre lies within a pixel of `outer`'s.
bool CentredOn(const QRect& inner, const QRect& outer)
{
    const QPointF offset = QRectF(inner).center() - QRectF(outer).center();
    return std::abs(offset.x()) <= 1 && std::abs(offset.y()) <= 1;
}

class MainFormTest : public testing::Test {
protected:
    MainFormTest()
    {
        server.server().Get(R"(/page/(\d+))", [this](const httplib::Request& request,
                                                        httplib::Response& response) {
            const int number = std::stoi(request.matches[1]);
            const int inFlight = ++requestsInFlight;
            int seen = mostInFlight.load();
            while (inFlight > seen && !mostInFlight.compare_exchange_weak(seen, inFlight)) {
            }
            if (gated)
                gate.WaitFor(number);
            response.set_content(PageBody(number), "application/octet-stream");
            --requestsInFlight;
            ++requestsServed;
        });
        server.start();
        form.UseSettingsFile(settingsFile);
        form.UseThreadStarter(runs.Starter());
        form.show();
    }

    ~MainFormTest() override
    {
        gate.Allow(1 << 30);
        CloseMessageBoxes();
    }

    // Fills the fields for pages 5 to 7 of the loopback server into `directory`.
    void FillJob(const std::string& directory)
    {
        form.Edit1->setText(QString::fromStdString(server.url("/page/[-A-]")));
        form.Edit2->setText("5");
        form.Edit3->setText("7");
        form.Edit4->setText(QString::fromStdString(directory));
        form.Edit5->setText("p");
        form.Edit6->setText(".html");
        form.Edit7->setText("001");
    }

    void ExpectPagesWritten(const fs::path& directory)
    {
        EXPECT_EQ(ReadFileBytes((directory / "p001.html").string()), PageBody(5));
        EXPECT_EQ(ReadFileBytes((directory / "p002.html").string()), PageBody(6));
        EXPECT_EQ(ReadFileBytes((directory / "p003.html").string()), PageBody(7));
    }

    QString Address(int page) const { return QString::fromStdString(server.url("/page/" + std::to_string(page))); }

    TempDir temp;
    const std::string settingsFile = temp.file("Trovanix.ini");
    LoopbackServer server;
    PageGate gate;
    bool gated = false;
    std::atomic<int> requestsInFlight{0};
    std::atomic<int> mostInFlight{0};
    std::atomic<int> requestsServed{0};
    TFormMain form;
    JoinedThreads runs;  // declared last: runs are joined before anything they use goes
};

TEST_F(MainFormTest, WindowAndComponentsAreLaidOutAsDesigned)
{
    EXPECT_EQ(form.windowTitle(), "Quellory");
    EXPECT_EQ(form.size(), QSize(553, 404));
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
    const Qt::WindowFlags flags = form.windowFlags();
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(form.font().family(), "SimSun");
    EXPECT_EQ(form.font().pixelSize(), 12);
    // The stand-in must be a Song face that has the Chinese glyphs.
    EXPECT_TRUE(QFontInfo(form.font()).family().contains("UMing")) << QFontInfo(form.font()).family().toStdString();

    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
    const Qt::Alignment centre = Qt::AlignHCenter | Qt::AlignVCenter;
    const struct {
        QLabel* label;
        QRect geometry;
        QString caption;
        Qt::Alignment alignment;
    } labels[] = {
        {form.Label1, {24, 32, 97, 20}, "目标网页地址：", right},
        {form.Label2, {24, 64, 97, 20}, "累加变量范围：", right},
        {form.Label3, {216, 64, 25, 20}, "到", centre},
        {form.Label4, {344, 64, 113, 20}, "变量用[-A-]表示", left},
        {form.Label5, {24, 104, 97, 20}, "软件使用说明：", right},
        {form.Label6, {140, 112, 365, 20}, "　　Quellory是一个网站开发工具，是一个网络型的工具", left},
        {form.Label7, {140, 132, 365, 20}, "软件，它的作用在于把ＡＳＰ文件批量地存储为静态网页文件，主要", left},
        {form.Label8, {140, 152, 365, 20}, "用于网站开发与编辑当中，软件的具体用法是首先输入一个目标的动", left},
        {form.Label9, {140, 172, 365, 20}, "态页面网址，其中包含动态页面的页面号变量，然后对页面号变量的", left},
        {form.Label10, {140, 192, 365, 20}, "范围进行设置，例如从0到100，然后设置好文件存储的路径和文件存", left},
        {form.Label11, {140, 212, 365, 20}, "储的后缀名称，就可以进行网页文件批量生成操作", left},
        {form.Label12, {24, 264, 97, 20}, "文件存储目录：", right},
        {form.Label13, {24, 296, 97, 20}, "文件存储名称：", right},
        {form.Label14, {208, 296, 41, 20}, "后缀：", right},
        {form.Label15, {312, 296, 41, 20}, "起点：", right},
        {form.Label16, {416, 296, 41, 20}, "同名：", right},
    };
    for (const auto& row : labels) {
        SCOPED_TRACE(row.caption.toStdString());
        EXPECT_EQ(row.label->geometry(), row.geometry);
        EXPECT_EQ(row.label->text(), row.caption);
        EXPECT_EQ(row.label->alignment(), row.alignment);
        EXPECT_FALSE(row.label->wordWrap());
        // Every usage line fits on its label without being cut.
        EXPECT_LE(row.label->fontMetrics().horizontalAdvance(row.caption), row.geometry.width());
    }

    const struct {
        QWidget* widget;
        QRect geometry;
    } others[] = {
        {form.Shape1, {40, 152, 73, 73}},      {form.Image1, {53, 165, 48, 48}},
        {form.Shape2, {128, 104, 385, 137}},   {form.SpeedButton1, {200, 344, 81, 33}},
        {form.SpeedButton2, {328, 344, 81, 33}}, {form.Edit1, {128, 32, 385, 20}},
        {form.Edit2, {128, 64, 81, 20}},       {form.Edit3, {248, 64, 81, 20}},
        {form.Edit4, {128, 264, 353, 20}},     {form.Button1, {488, 264, 25, 21}},
        {form.Edit5, {128, 296, 65, 20}},      {form.Edit6, {256, 296, 41, 20}},
        {form.Edit7, {360, 296, 41, 20}},      {form.ComboBox1, {464, 296, 49, 20}},
    };
    for (const auto& row : others)
        EXPECT_EQ(row.widget->geometry(), row.geometry) << row.widget->metaObject()->className();

    // Tab walks the focusable components in this order, and only them.
    const QWidget* tabOrder[] = {form.Edit1, form.Edit2, form.Edit3, form.Edit4, form.Button1,
                                 form.Edit5, form.Edit6, form.Edit7, form.ComboBox1};
    QWidget* widget = form.Edit1;
    for (const QWidget* expected : tabOrder) {
        EXPECT_EQ(widget, expected);
        do
            widget = widget->nextInFocusChain();
        while (!(widget->focusPolicy() & Qt::TabFocus) || widget == &form);
    }
    EXPECT_EQ(widget, form.Edit1);

    const struct {
        TSpeedButton* button;
        QAction* action;
        QString caption;
    } speedButtons[] = {{form.SpeedButton1, form.ActionYes, "确定"},
                        {form.SpeedButton2, form.ActionCancel, "取消"}};
    for (const auto& row : speedButtons) {
        EXPECT_EQ(row.button->defaultAction(), row.action);
        EXPECT_EQ(row.button->text(), row.caption);
        EXPECT_FALSE(row.button->icon().pixmap(24, 24).isNull());
        EXPECT_EQ(row.button->cursor().shape(), Qt::PointingHandCursor);
    }
    EXPECT_TRUE(form.Button1->text().isEmpty());
    EXPECT_EQ(form.Button1->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(form.Image1->pixmap().size(), QSize(48, 48));
    EXPECT_FALSE(form.ComboBox1->isEditable());
    ASSERT_EQ(form.ComboBox1->count(), 2);
    EXPECT_EQ(form.ComboBox1->itemText(0), "覆盖");
    EXPECT_EQ(form.ComboBox1->itemText(1), "略过");
    EXPECT_EQ(form.ComboBox1->view()->sizeHintForRow(0), 12);
    EXPECT_EQ(form.ComboBox1->view()->sizeHintForRow(1), 12);
    EXPECT_TRUE(CentredOn(form.windowHandle()->frameGeometry(), form.screen()->availableGeometry()))
        << form.windowHandle()->frameGeometry().x() << "," << form.windowHandle()->frameGeometry().y();
}

TEST_F(MainFormTest, UsageTextStaysReadableOnADarkPalette)
{
    QPalette dark;
    for (const auto role : {QPalette::Window, QPalette::Button})
        dark.setColor(role, QColor(53, 53, 53));
    for (const auto role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
        dark.setColor(role, QColor(220, 220, 220));
    dark.setColor(QPalette::Base, QColor(35, 35, 35));
    form.setPalette(dark);

    // Inside the frame line: its fill, and the text on it.
    const QImage inside = form.grab(form.Shape2->geometry().adjusted(1, 1, -1, -1)).toImage();
    const QColor fill = inside.pixelColor(0, 0);
    QColor text = fill;
    int textPixels = 0;
    for (int y = 0; y < inside.height(); ++y) {
        for (int x = 0; x < inside.width(); ++x) {
            const QColor pixel = inside.pixelColor(x, y);
            textPixels += pixel != fill;
            if (Contrast(pixel, fill) > Contrast(text, fill))
                text = pixel;
        }
    }
    EXPECT_GT(textPixels, 1000);
    EXPECT_GE(Contrast(text, fill), 7.0) << "text " << text.name().toStdString() << " on "
                                          << fill.name().toStdString();
}

TEST_F(MainFormTest, ShowingFillsTheFieldsFromTheSettingsFile)
{
    WriteFileBytes(settingsFile,
                   "[Setting]\nTargetPage=http://h/list.asp?p=[-A-]\nBeginPoint=3\nEndPoint=30\n"
                   "SavePath=/srv/out\nFileName=list\nFileBack=.htm\nFilePoint=0001\n"
                   "SameNameCover=False\n");
    form.hide();
    form.show();

    const char* expected[] = {"http://h/list.asp?p=[-A-]", "3", "30", "/srv/out", "list", ".htm", "0001"};
    for (int i = 0; i < kJobFieldCount; ++i)
        EXPECT_EQ(form.EditOf(static_cast<JobField>(i))->text(), expected[i]) << i;
    EXPECT_EQ(form.ComboBox1->currentIndex(), kChoiceSkip);
}

TEST_F(MainFormTest, WithoutASettingsFileTheFieldsShowTheDefaultsAndNothingIsWritten)
{
    EXPECT_EQ(form.Edit1->text(), "");
    EXPECT_EQ(form.Edit2->text(), "1");
    EXPECT_EQ(form.Edit3->text(), "100");
    EXPECT_EQ(form.Edit4->text().toStdString(), LoadJobFields(settingsFile)[JobField::Edit4]);
    EXPECT_EQ(form.Edit5->text(), "");
    EXPECT_EQ(form.Edit6->text(), ".html");
    EXPECT_EQ(form.Edit7->text(), "001");
    EXPECT_EQ(form.ComboBox1->currentIndex(), kChoiceOverwrite);

    // Edits are saved by the next run only; closing without one saves nothing.
    QTest::keyClicks(form.Edit5, "page");
    form.close();
    EXPECT_FALSE(fs::exists(settingsFile));
}

TEST_F(MainFormTest, OkRunsTheJobShowingEachAddressThenTheCompletion)
{
    gated = true;
    FillJob(temp.path().string());
    QTest::mouseClick(form.SpeedButton1, Qt::LeftButton);

    // Each page is held back until the window has shown its address.
    for (int page = 5; page <= 7; ++page) {
        ASSERT_TRUE(WaitFor([&] { return form.windowTitle() == Address(page); })) << page;
        gate.Allow(page);
    }
    ASSERT_TRUE(WaitFor([&] { return form.windowTitle() == kCompletion; }));
    ExpectPagesWritten(temp.path());
    EXPECT_EQ(LoadJobFields(settingsFile)[JobField::Edit1], server.url("/page/[-A-]"));
}

TEST_F(MainFormTest, TwoQuickOksStartTwoOverlappingRuns)
{
    gated = true;
    FillJob(temp.path().string());
    QTest::mouseClick(form.SpeedButton1, Qt::LeftButton);
    QTest::mouseClick(form.SpeedButton1, Qt::LeftButton);

    // Both runs wait for their first page at the same moment.
    EXPECT_TRUE(WaitFor([&] { return requestsInFlight == 2; }));
    gate.Allow(7);
    ASSERT_TRUE(WaitFor([&] { return requestsServed == 6; }));
    EXPECT_EQ(runs.Count(), 2u);
    EXPECT_EQ(mostInFlight, 2);
    EXPECT_TRUE(WaitFor([&] { return form.windowTitle() == kCompletion; }));
    ExpectPagesWritten(temp.path());
}

TEST_F(MainFormTest, ABadNumberIsReportedAndTheProgramGoesOn)
{
    FillJob(temp.path().string());
    form.Edit3->setText("7x");
    form.ActionYes->trigger();

    ASSERT_TRUE(WaitFor([] { return VisibleMessageBox() != nullptr; }));
    EXPECT_FALSE(VisibleMessageBox()->text().isEmpty());
    EXPECT_EQ(VisibleMessageBox()->windowTitle(), "Mainformtest");
    EXPECT_EQ(form.windowTitle(), "Quellory");
    EXPECT_EQ(requestsServed, 0);
    EXPECT_EQ(LoadJobFields(settingsFile)[JobField::Edit3], "7x");  // saved before the check
    CloseMessageBoxes();

    form.Edit3->setText("7");
    form.ActionYes->trigger();
    ASSERT_TRUE(WaitFor([&] { return form.windowTitle() == kCompletion; }));
    ExpectPagesWritten(temp.path());
}

TEST_F(MainFormTest, AThreadThatCannotStartIsReportedAndNothingRuns)
{
    // What std::thread throws when the system refuses a thread, or memory for one.
    const std::function<void()> failures[] = {
        [] { throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again)); },
        [] { throw std::bad_alloc(); },
    };
    FillJob(temp.path().string());
    for (const auto& fail : failures) {
        form.UseThreadStarter([&](std::function<void()>) { fail(); });
        form.ActionYes->trigger();

        QMessageBox* box = VisibleMessageBox();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text(), "线程启动失败");
        EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
        EXPECT_EQ(box->windowTitle(), "Mainformtest");
        EXPECT_EQ(form.windowTitle(), "Quellory");
        EXPECT_FALSE(fs::exists(settingsFile));
        CloseMessageBoxes();
    }
}

TEST_F(MainFormTest, ShippedDefaultsFillTheFieldsUntilTheFirstRunSavesThemPerUser)
{
    // As installed: the file beside the program is read-only defaults, and
    // the user's own file does not exist yet.
    const std::string perUser = temp.file("config/Quellory/Trovanix.ini");
    WriteFileBytes(settingsFile, "[Setting]\nFileName=shipped\n");
    form.UseSettingsFile(perUser, settingsFile);
    form.hide();
    form.show();
    EXPECT_EQ(form.Edit5->text(), "shipped");

    FillJob(temp.path().string());
    form.ActionYes->trigger();
    ASSERT_TRUE(WaitFor([&] { return form.windowTitle() == kCompletion; }));
    EXPECT_EQ(LoadJobFields(perUser)[JobField::Edit5], "p");
    EXPECT_EQ(fs::status(temp.path() / "config/Quellory").permissions(), fs::perms::owner_all);
    EXPECT_EQ(ReadFileBytes(settingsFile), "[Setting]\nFileName=shipped\n");

    form.hide();
    form.show();
    EXPECT_EQ(form.Edit5->text(), "p");
}

class MainFormBrowseTest : public MainFormTest {
protected:
    MainFormBrowseTest() { form.UseFolderChooser(&chooser); }
    ~MainFormBrowseTest() override { fs::current_path(startDirectory); }

    // Clicks the browse button and, once the chooser is up, opens `directory`
    // in it and presses `button` there.
    void Browse(const fs::path& directory, TSpeedButton* button)
    {
        QTimer::singleShot(0, &chooser, [&] {
            EXPECT_TRUE(chooser.isVisible());
            chooser.DirectoryListBox1->OpenDirectory(directory.string());
            QTest::mouseClick(button, Qt::LeftButton);
        });
        QTest::mouseClick(form.Button1, Qt::LeftButton);
    }

    const fs::path startDirectory = fs::current_path();
    TFormGetPath chooser{&form};
};

TEST_F(MainFormBrowseTest, OkInTheChooserPutsTheOpenDirectoryIntoEdit4)
{
    const fs::path chosen = fs::canonical(temp.path());
    Browse(chosen, chooser.SpeedButton1);
    EXPECT_EQ(form.Edit4->text().toStdString(), chosen.string());
    EXPECT_FALSE(chooser.isVisible());
}

TEST_F(MainFormBrowseTest, TheChooserIsCentredOnTheMainWindow)
{
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    form.move(30, 40);
    QRect shown;
    QTimer::singleShot(0, &chooser, [&] {
        shown = chooser.windowHandle()->frameGeometry();
        chooser.ActionCancelExecute();
    });
    QTest::mouseClick(form.Button1, Qt::LeftButton);
    const QRect mainFrame = form.windowHandle()->frameGeometry();
    EXPECT_TRUE(CentredOn(shown, mainFrame)) << shown.x() << "," << shown.y() << " on " << mainFrame.x() << ","
                                             << mainFrame.y();
}

TEST_F(MainFormBrowseTest, CancelInTheChooserLeavesEdit4)
{
    form.Edit4->setText("/kept");
    Browse(temp.path(), chooser.SpeedButton2);
    EXPECT_EQ(form.Edit4->text(), "/kept");
    EXPECT_FALSE(chooser.isVisible());
}

TEST_F(MainFormBrowseTest, ARelativeOutputDirectoryIsTakenFromTheDirectoryOpenedLast)
{
    fs::create_directories(temp.path() / "site" / "out");
    Browse(temp.path() / "site", chooser.SpeedButton2);
    FillJob("out");
    form.ActionYes->trigger();
    ASSERT_TRUE(WaitFor([&] { return form.windowTitle() == kCompletion; }));
    ExpectPagesWritten(temp.path() / "site" / "out");
}

}  // namespace
