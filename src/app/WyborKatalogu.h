#pragma once
// "Wybierz katalog": the choice of a data folder. Which folder it opens on, what its lists show
// and the folder it returns are plain code; the window browses.
#include <QString>
#include <vector>

#include "foundations/FR_Utils.h"

class QComboBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;

// The folder the choice starts from: Dir as given when that folder exists, else the system's
// root ("/").
QString DirectoryStart(const QString& dir);
// The folder as the choice returns it: cleaned, with one "/" at its end.
QString WithTrailingSeparator(const QString& folder);

// One line of the folder list: the way from the root down to the current folder, then the
// folders inside it, sorted by name.
struct DirectoryEntry {
    QString path;   // absolute, cleaned
    QString name;   // as shown: the root's own text, else the folder's name
    int depth = 0;  // indent: the root 0, each level below one more
    bool open = false;  // on the way down (the current folder included)
};
std::vector<DirectoryEntry> DirectoryListEntries(const QString& current);
// The files of a folder, sorted by name (hidden ones left out).
QStringList DirectoryFiles(const QString& folder);

class TFormWyborKatalogu : public TSSForm {
    Q_OBJECT
public:
    explicit TFormWyborKatalogu(QWidget* parent = nullptr);

    // Opens the lists on a folder (an existing one; others leave the lists as they are).
    void SetDirectory(const QString& folder);
    QString Directory() const { return current_; }

    // Double-click or Enter on a line of the folder list opens that folder.
    void DirectoryListBox1Activated(QListWidgetItem* item);
    void DriveComboBox1Change();

    QLabel* Label1;  // "Katalog:"
    QLabel* LabelKatalog;  // the current folder
    QLabel* Label2;  // "Katalogi:"
    QLabel* Label3;  // "Pliki:"
    QLabel* Label4;  // "Stacje dysków:"
    QComboBox* DriveComboBox1;
    QListWidget* DirectoryListBox1;
    QListWidget* FileListBox1;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;

private:
    QString current_;
};

// Shows the window on DirectoryStart(Dir); on OK the folder it shows with "/" at its end,
// otherwise DirectoryStart(Dir) unchanged (a folder that did not exist comes back as the root).
QString ChooseDirectory(const QString& Dir, QWidget* parent = nullptr);
