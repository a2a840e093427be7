#pragma once
// The most recently used measurement files of one measurement type, most recent first.
#include <QString>
#include <QStringList>
#include <functional>

class QMenu;
class QAction;

class TRecentFileList {
public:
    static constexpr int kEntries = 4;

    TRecentFileList();  // four empty entries

    // Moves FileName to the head (exact, case-sensitive match), keeping four entries.
    void Add(const QString& fileName);
    const QStringList& Entries() const { return Entries_; }
    QString Entry(int n) const { return n >= 0 && n < Entries_.size() ? Entries_[n] : QString(); }
    // Replaces the entries; the list is padded or cut to four.
    void SetEntries(const QStringList& entries);

private:
    QStringList Entries_;
};

// Caption of recent-file command n (0..3): "&" + (n + 1) + " " + entry.
QString RecentFileCaption(int n, const QString& entry);
// The file name back from such a caption: the first three characters removed.
QString RecentFileFromCaption(const QString& caption);

// Object names of the four recent-file commands of the "Plik1" menu (Tags 33 to 36).
inline const char* const kRecentFileCommandNames[TRecentFileList::kEntries] = {"File01", "File11", "File21", "File31"};

// Shows the commands for the non-empty entries with their captions and hides the others.
void UpdateRecentFilesMenu(QAction* const commands[TRecentFileList::kEntries], const TRecentFileList& list);

// Finds (or creates, after the last command of Menu) the four commands "File01" .. "File31" of
// Menu, updates them from List and connects each, once, to OnChoose with the clicked command's
// caption turned back into a file name.
void FillRecentFilesMenu(QMenu* menu, const TRecentFileList& list, std::function<void(const QString&)> onChoose);
