#pragma once

#include <QListWidget>

#include <string>

// A directory list: the open directory's path from "/" down, one entry per
// level, then the open directory's subdirectories. Double-click or Enter opens
// an entry; a single click or the arrow keys only highlight it.
class TDirectoryListBox : public QListWidget {
public:
    // A list opened at the process's current directory.
    explicit TDirectoryListBox(QWidget* parent);

    // The open directory: a full path, with no trailing "/" except for "/" itself.
    const std::string& Directory() const { return directory_; }

    // Makes `path` the open directory and the process's current directory and
    // rebuilds the list; returns false, changing nothing, if it cannot be entered.
    bool OpenDirectory(const std::string& path);

    // The full path an entry stands for.
    static std::string EntryPath(const QListWidgetItem* item);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Rebuild();
    void ScrollToOpenEntry();
    void AddEntry(const std::string& path, const QString& name, int depth, bool open);

    std::string directory_;
};
