#include "GetPathForm.h"

#include <QProxyStyle>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <vector>

#include "TempDir.h"
#include "UiTestSupport.h"

namespace fs = std::filesystem;

namespace {

// A chooser on screen, opened at a fresh tree:
//   ROOT/Beta  ROOT/alpha  ROOT/alpha/inner  ROOT/.hidden  ROOT/file.txt
class GetPathFormTest : public testing::Test {
protected:
    GetPathFormTest()
    {
        fs::create_directories(root / "Beta");
        fs::create_directories(root / "alpha" / "inner");
        fs::create_directories(root / ".hidden");
        WriteFileBytes((root / "file.txt").string(), "x");
        fs::current_path(root);
        // Made only now: the list starts at the current directory, as at start-up.
        chooser = std::make_unique<TFormGetPath>(nullptr);
        chooser->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(chooser.get()));
    }
    ~GetPathFormTest() override { fs::current_path(startDirectory); }

    TDirectoryListBox& List() { return *chooser->DirectoryListBox1; }

    QListWidgetItem* Entry(const QString& name)
    {
        const auto found = List().findItems(name, Qt::MatchExactly);
        EXPECT_EQ(found.size(), 1) << name.toStdString();
        return found.value(0);
    }

    QPoint EntryCentre(const QString& name) { return List().visualItemRect(Entry(name)).center(); }

    std::vector<std::string> EntryPaths()
    {
        std::vector<std::string> paths;
        for (int row = 0; row < List().count(); ++row)
            paths.push_back(TDirectoryListBox::EntryPath(List().item(row)));
        return paths;
    }

    const fs::path startDirectory = fs::current_path();
    TempDir temp;
    const fs::path root = fs::canonical(temp.path());
    std::unique_ptr<TFormGetPath> chooser;
};

// A style as on desktops set to open items with a single click.
class SingleClickStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == SH_ItemView_ActivateItemOnSingleClick)
            return 1;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

// The list's entries for `directory`: every level from "/" down, then `subdirectories`.
std::vector<std::string> Levels(const fs::path& directory, const std::vector<std::string>& subdirectories)
{
    std::vector<std::string> paths = {"/"};
    fs::path level = "/";
    for (const fs::path& part : directory.relative_path())
        paths.push_back((level /= part).string());
    for (const std::string& name : subdirectories)
        paths.push_back((directory / name).string());
    return paths;
}

TEST(GetPathForm, LayoutAndWindow)
{
    TFormGetPath chooser(nullptr);
    EXPECT_EQ(chooser.windowTitle(), "选择路径");
    EXPECT_EQ(chooser.size(), QSize(449, 315));
    EXPECT_EQ(chooser.minimumSize(), chooser.maximumSize());
    const Qt::WindowFlags buttons =
        Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint;
    EXPECT_FALSE(chooser.windowFlags() & buttons);
    EXPECT_EQ(chooser.SpeedButton1->geometry(), QRect(344, 24, 81, 33));
    EXPECT_EQ(chooser.SpeedButton2->geometry(), QRect(344, 72, 81, 33));
    EXPECT_EQ(chooser.DirectoryListBox1->geometry(), QRect(24, 24, 297, 265));
    EXPECT_EQ(chooser.SpeedButton1->text(), "确定");
    EXPECT_EQ(chooser.SpeedButton2->text(), "取消");
    EXPECT_EQ(chooser.SpeedButton1->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(chooser.font().pixelSize(), 12);
    EXPECT_TRUE(chooser.SelectedPath.empty());
}

TEST(GetPathForm, StartsAtTheRootWhenTheCurrentDirectoryIsGone)
{
    const fs::path startDirectory = fs::current_path();
    TempDir temp;
    fs::create_directory(temp.path() / "gone");
    fs::current_path(temp.path() / "gone");
    fs::remove(temp.path() / "gone");

    TFormGetPath chooser(nullptr);
    fs::current_path(startDirectory);
    EXPECT_EQ(chooser.DirectoryListBox1->Directory(), "/");
}

TEST_F(GetPathFormTest, ListsThePathThenTheVisibleSubdirectoriesByName)
{
    EXPECT_EQ(List().Directory(), root.string());
    EXPECT_EQ(EntryPaths(), Levels(root, {"alpha", "Beta"}));
    EXPECT_EQ(List().sizeHintForRow(0), 16);
    EXPECT_EQ(TDirectoryListBox::EntryPath(List().currentItem()), root.string());
}

TEST_F(GetPathFormTest, AClickOnlyHighlightsAndOkReturnsTheOpenDirectory)
{
    QTest::mouseClick(List().viewport(), Qt::LeftButton, {}, EntryCentre("alpha"));
    QTest::keyClick(&List(), Qt::Key_Down);
    EXPECT_EQ(TDirectoryListBox::EntryPath(List().currentItem()), (root / "Beta").string());
    EXPECT_EQ(List().Directory(), root.string());
    EXPECT_EQ(fs::current_path(), root);

    QTest::mouseClick(chooser->SpeedButton1, Qt::LeftButton);
    EXPECT_EQ(chooser->result(), QDialog::Accepted);
    EXPECT_EQ(chooser->SelectedPath, root.string());
}

TEST_F(GetPathFormTest, AClickOnlyHighlightsAlsoWhereTheStyleActivatesOnASingleClick)
{
    SingleClickStyle style;
    List().setStyle(&style);
    ASSERT_TRUE(List().style()->styleHint(QStyle::SH_ItemView_ActivateItemOnSingleClick, nullptr, &List()));

    QTest::mouseClick(List().viewport(), Qt::LeftButton, {}, EntryCentre("alpha"));
    EXPECT_EQ(TDirectoryListBox::EntryPath(List().currentItem()), (root / "alpha").string());
    EXPECT_EQ(List().Directory(), root.string());
    EXPECT_EQ(fs::current_path(), root);

    QTest::mouseDClick(List().viewport(), Qt::LeftButton, {}, EntryCentre("alpha"));
    EXPECT_EQ(List().Directory(), (root / "alpha").string());
    EXPECT_EQ(fs::current_path(), root / "alpha");
    List().setStyle(nullptr);
}

TEST_F(GetPathFormTest, EachShowingListsTheFoldersAsTheyAreNowInTheSamePlace)
{
    List().setCurrentItem(Entry("Beta"));
    chooser->hide();
    fs::create_directory(root / "gamma");
    fs::remove(root / "alpha" / "inner");
    fs::remove(root / "alpha");

    chooser->show();
    EXPECT_EQ(List().Directory(), root.string());
    EXPECT_EQ(fs::current_path(), root);
    EXPECT_EQ(EntryPaths(), Levels(root, {"Beta", "gamma"}));
    EXPECT_EQ(TDirectoryListBox::EntryPath(List().currentItem()), (root / "Beta").string());
    EXPECT_TRUE(List().visualItemRect(List().currentItem()).intersects(List().viewport()->rect()));
}

TEST_F(GetPathFormTest, AnOpenDirectoryRemovedWhileHiddenFallsBackToTheRoot)
{
    ASSERT_TRUE(List().OpenDirectory((root / "alpha" / "inner").string()));
    chooser->hide();
    fs::remove(root / "alpha" / "inner");

    chooser->show();
    EXPECT_EQ(List().Directory(), "/");
    EXPECT_EQ(TDirectoryListBox::EntryPath(List().currentItem()), "/");
}

TEST_F(GetPathFormTest, DoubleClickOrEnterOpensAndChangesTheCurrentDirectory)
{
    // A double-click reaches a widget as a click followed by a double-click event.
    QTest::mouseClick(List().viewport(), Qt::LeftButton, {}, EntryCentre("alpha"));
    QTest::mouseDClick(List().viewport(), Qt::LeftButton, {}, EntryCentre("alpha"));
    EXPECT_EQ(List().Directory(), (root / "alpha").string());
    EXPECT_EQ(fs::current_path(), root / "alpha");
    EXPECT_EQ(EntryPaths(), Levels(root / "alpha", {"inner"}));

    // Back up one level with the keyboard: highlight the parent, then Enter.
    List().setCurrentItem(List().item(List().count() - 3));
    QTest::keyClick(&List(), Qt::Key_Return);
    EXPECT_EQ(List().Directory(), root.string());
    EXPECT_EQ(fs::current_path(), root);

    // The root is held as "/", every other directory without a trailing "/".
    List().setCurrentItem(List().item(0));
    QTest::keyClick(&List(), Qt::Key_Enter);
    EXPECT_EQ(List().Directory(), "/");
    EXPECT_EQ(fs::current_path(), "/");
    EXPECT_EQ(TDirectoryListBox::EntryPath(List().currentItem()), "/");
}

TEST_F(GetPathFormTest, ADirectoryThatCannotBeEnteredChangesNothing)
{
    EXPECT_FALSE(List().OpenDirectory((root / "missing").string()));
    EXPECT_FALSE(List().OpenDirectory((root / "file.txt").string()));
    EXPECT_EQ(List().Directory(), root.string());
    EXPECT_EQ(fs::current_path(), root);
}

TEST_F(GetPathFormTest, CancelAndEscapeKeepTheLastChoiceButTheListStaysWhereItWas)
{
    QTest::mouseClick(chooser->SpeedButton1, Qt::LeftButton);
    ASSERT_EQ(chooser->SelectedPath, root.string());

    chooser->show();
    List().OpenDirectory((root / "Beta").string());
    QTest::mouseClick(chooser->SpeedButton2, Qt::LeftButton);
    EXPECT_EQ(chooser->result(), QDialog::Rejected);
    EXPECT_EQ(chooser->SelectedPath, root.string());

    chooser->show();
    EXPECT_EQ(List().Directory(), (root / "Beta").string());
    QTest::keyClick(chooser.get(), Qt::Key_Escape);
    EXPECT_FALSE(chooser->isVisible());
    EXPECT_EQ(chooser->result(), QDialog::Rejected);
    EXPECT_EQ(chooser->SelectedPath, root.string());
    EXPECT_EQ(fs::current_path(), root / "Beta");
}

}  // namespace
