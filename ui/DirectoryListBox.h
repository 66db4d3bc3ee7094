#pragma once

#include <QListWidget>

#include <string>

// A directory list: the open directory's path from "/" down, one entry per
// level, then the open directory's subdirectories, read afresh at each showing.
// Double-click or Enter opens an entry; a single click or the arrow keys only
// highlight it, whatever the style says about single-click activation.
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
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // Lists the open directory's folders as they are now, keeping the
    // highlighted entry; a removed open directory falls back as at start-up.
    void Refresh();
    void Rebuild();
    void ScrollToOpenEntry();
    void AddEntry(const std::string& path, const QString& name, int depth, bool open);

    std::string directory_;
};
