#include "DirectoryListBox.h"

#include <QApplication>
#include <QKeyEvent>
#include <QShowEvent>
#include <QStyle>
#include <QStyledItemDelegate>

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

#include "GetPathFormDesign.h"

namespace fs = std::filesystem;

namespace {

using GetPathFormDesign::kIndentPerLevel;
using GetPathFormDesign::kItemHeight;
constexpr int kPathRole = Qt::UserRole;
constexpr int kDepthRole = Qt::UserRole + 1;

// Draws each entry indented by its depth in the tree, at the list's item height.
class IndentedItemDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        QStyleOptionViewItem indented = option;
        indented.rect.setLeft(option.rect.left() + kIndentPerLevel * index.data(kDepthRole).toInt());
        QStyledItemDelegate::paint(painter, indented, index);
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return {QStyledItemDelegate::sizeHint(option, index).width(), kItemHeight};
    }
};

// Sorted names of the visible subdirectories of `directory`; none if it cannot be read.
std::vector<std::string> SubdirectoryNames(const std::string& directory)
{
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(directory, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        std::error_code typeError;
        // Dot-folders are hidden, as file managers hide them.
        if (name.front() != '.' && it->is_directory(typeError))
            names.push_back(name);
    }
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return QString::fromStdString(a).compare(QString::fromStdString(b), Qt::CaseInsensitive) < 0;
    });
    return names;
}

// The process's current directory; "/" when the system cannot tell (it was removed).
std::string CurrentDirectory()
{
    std::error_code error;
    const fs::path current = fs::current_path(error);
    return error ? "/" : current.string();
}

std::string ChildPath(const std::string& directory, const std::string& name)
{
    return directory == "/" ? "/" + name : directory + "/" + name;
}

}  // namespace

TDirectoryListBox::TDirectoryListBox(QWidget* parent)
    : QListWidget(parent), directory_(CurrentDirectory())
{
    setItemDelegate(new IndentedItemDelegate(this));
    setUniformItemSizes(true);
    setIconSize(QSize(14, 14));
    // Not itemActivated: styles that activate on a single click would open a
    // folder on a mere highlight.
    connect(this, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { OpenDirectory(EntryPath(item)); });
    Rebuild();
}

bool TDirectoryListBox::OpenDirectory(const std::string& path)
{
    std::error_code error;
    fs::current_path(path, error);
    if (error)
        return false;
    directory_ = CurrentDirectory();
    Rebuild();
    return true;
}

std::string TDirectoryListBox::EntryPath(const QListWidgetItem* item)
{
    return item->data(kPathRole).toString().toStdString();
}

void TDirectoryListBox::Rebuild()
{
    clear();
    int depth = 0;
    std::string levelPath = "/";
    AddEntry(levelPath, "/", depth, true);
    for (const fs::path& level : fs::path(directory_).relative_path()) {
        levelPath = ChildPath(levelPath, level.string());
        AddEntry(levelPath, QString::fromStdString(level.string()), ++depth, true);
    }
    QListWidgetItem* openEntry = item(count() - 1);
    for (const std::string& name : SubdirectoryNames(directory_))
        AddEntry(ChildPath(directory_, name), QString::fromStdString(name), depth + 1, false);
    setCurrentItem(openEntry);
    ScrollToOpenEntry();
}

void TDirectoryListBox::Refresh()
{
    const std::string highlighted = currentItem() ? EntryPath(currentItem()) : std::string();
    std::error_code error;
    if (!fs::is_directory(directory_, error))
        directory_ = CurrentDirectory();
    Rebuild();
    for (int row = 0; row < count(); ++row) {
        if (EntryPath(item(row)) == highlighted)
            setCurrentItem(item(row));
    }
}

void TDirectoryListBox::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && currentItem())
        OpenDirectory(EntryPath(currentItem()));
    else
        QListWidget::keyPressEvent(event);
}

void TDirectoryListBox::showEvent(QShowEvent* event)
{
    QListWidget::showEvent(event);
    // Folders may have come and gone while the list was hidden.
    if (!event->spontaneous())
        Refresh();
    // Until the list is on screen its height is unknown, and scrolling then
    // would hide the upper levels for nothing.
    ScrollToOpenEntry();
}

void TDirectoryListBox::ScrollToOpenEntry()
{
    scrollToTop();
    scrollToItem(currentItem());
}

void TDirectoryListBox::AddEntry(const std::string& path, const QString& name, int depth, bool open)
{
    const QStyle::StandardPixmap icon = open ? QStyle::SP_DirOpenIcon : QStyle::SP_DirClosedIcon;
    auto* entry = new QListWidgetItem(style()->standardIcon(icon), name, this);
    entry->setData(kPathRole, QString::fromStdString(path));
    entry->setData(kDepthRole, depth);
}
