#include "app/WyborKatalogu.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "app/DialogParts.h"

namespace {

QString cleaned(const QString& folder) { return QDir::cleanPath(QDir(folder).absolutePath()); }

// The root a folder lies on (a drive on Windows, "/" elsewhere).
QString rootOf(const QString& folder) {
    for (const QFileInfo& drive : QDir::drives()) {
        const QString root = drive.absoluteFilePath();
        if (folder.startsWith(root, Qt::CaseInsensitive)) return root;
    }
    return QDir::rootPath();
}

}  // namespace

QString DirectoryStart(const QString& dir) {
    if (!dir.isEmpty() && QFileInfo(dir).isDir()) return dir;
    return QDir::rootPath();
}

QString WithTrailingSeparator(const QString& folder) {
    QString f = QDir::cleanPath(folder);
    if (!f.endsWith(u'/')) f += u'/';
    return f;
}

std::vector<DirectoryEntry> DirectoryListEntries(const QString& current) {
    std::vector<DirectoryEntry> out;
    const QString path = cleaned(current);
    const QString root = rootOf(path);
    // The way down: the root, then each folder to the current one.
    out.push_back({root, QDir::toNativeSeparators(root), 0, true});
    const QStringList parts = path.mid(root.size()).split(u'/', Qt::SkipEmptyParts);
    QString at = root;
    for (const QString& part : parts) {
        at = WithTrailingSeparator(at) + part;
        out.push_back({at, part, int(out.size()), true});
    }
    const int depth = int(out.size());
    const QFileInfoList subs =
        QDir(path).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& sub : subs) out.push_back({cleaned(sub.absoluteFilePath()), sub.fileName(), depth, false});
    return out;
}

QStringList DirectoryFiles(const QString& folder) {
    return QDir(folder).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase);
}

TFormWyborKatalogu::TFormWyborKatalogu(QWidget* parent) : TSSForm(parent) {
    setObjectName("FormWyborKatalogu");
    setWindowTitle(QStringLiteral("Wybierz katalog"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    auto* main = new QVBoxLayout(this);
    auto* here = new QHBoxLayout;
    Label1 = new QLabel(QStringLiteral("Katalog:"), this);
    Label1->setObjectName("Label1");
    LabelKatalog = new QLabel(this);
    LabelKatalog->setObjectName("LabelKatalog");
    LabelKatalog->setTextInteractionFlags(Qt::TextSelectableByMouse);
    here->addWidget(Label1);
    here->addWidget(LabelKatalog, 1);
    main->addLayout(here);

    auto* grid = new QGridLayout;
    Label2 = new QLabel(QStringLiteral("Katalogi:"), this);
    Label2->setObjectName("Label2");
    Label3 = new QLabel(QStringLiteral("Pliki:"), this);
    Label3->setObjectName("Label3");
    Label4 = new QLabel(QString::fromUtf8("Stacje dysków:"), this);
    Label4->setObjectName("Label4");
    DirectoryListBox1 = new QListWidget(this);
    DirectoryListBox1->setObjectName("DirectoryListBox1");
    FileListBox1 = new QListWidget(this);
    FileListBox1->setObjectName("FileListBox1");
    FileListBox1->setSelectionMode(QAbstractItemView::NoSelection);
    DriveComboBox1 = new QComboBox(this);
    DriveComboBox1->setObjectName("DriveComboBox1");
    for (const QFileInfo& drive : QDir::drives())
        DriveComboBox1->addItem(QDir::toNativeSeparators(drive.absoluteFilePath()), drive.absoluteFilePath());
    Label2->setBuddy(DirectoryListBox1);
    Label3->setBuddy(FileListBox1);
    Label4->setBuddy(DriveComboBox1);
    grid->addWidget(Label2, 0, 0);
    grid->addWidget(DirectoryListBox1, 1, 0);
    grid->addWidget(Label4, 2, 0);
    grid->addWidget(DriveComboBox1, 3, 0);
    grid->addWidget(Label3, 0, 1);
    grid->addWidget(FileListBox1, 1, 1, 3, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    main->addLayout(grid, 1);

    BitBtn1 = NamedButton(this, "BitBtn1", QStringLiteral("&Ok"));
    BitBtn1->setDefault(true);
    BitBtn2 = NamedButton(this, "BitBtn2", QStringLiteral("Anuluj"));
    main->addLayout(ButtonRow({BitBtn1, BitBtn2}));
    resize(460, 320);

    connect(DirectoryListBox1, &QListWidget::itemActivated, this, &TFormWyborKatalogu::DirectoryListBox1Activated);
    connect(DriveComboBox1, &QComboBox::activated, this, &TFormWyborKatalogu::DriveComboBox1Change);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    SetDirectory(QDir::rootPath());
    FinishCreate();
}

void TFormWyborKatalogu::SetDirectory(const QString& folder) {
    if (!QFileInfo(folder).isDir()) return;
    current_ = cleaned(folder);
    LabelKatalog->setText(QDir::toNativeSeparators(current_));
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    DirectoryListBox1->clear();
    for (const DirectoryEntry& e : DirectoryListEntries(current_)) {
        auto* item = new QListWidgetItem(e.open ? open : closed, QString(e.depth * 3, u' ') + e.name, DirectoryListBox1);
        item->setData(Qt::UserRole, e.path);
        if (e.open && e.path == current_) DirectoryListBox1->setCurrentItem(item);
    }
    FileListBox1->clear();
    FileListBox1->addItems(DirectoryFiles(current_));
    const int drive = DriveComboBox1->findData(QDir::fromNativeSeparators(
        DirectoryListBox1->count() ? DirectoryListBox1->item(0)->data(Qt::UserRole).toString() : QString()));
    if (drive >= 0) DriveComboBox1->setCurrentIndex(drive);
}

void TFormWyborKatalogu::DirectoryListBox1Activated(QListWidgetItem* item) {
    if (item) SetDirectory(item->data(Qt::UserRole).toString());
}

void TFormWyborKatalogu::DriveComboBox1Change() { SetDirectory(DriveComboBox1->currentData().toString()); }

QString ChooseDirectory(const QString& Dir, QWidget* parent) {
    const QString start = DirectoryStart(Dir);
    TFormWyborKatalogu dlg(parent);
    dlg.SetDirectory(start);
    if (dlg.exec() == QDialog::Accepted) return WithTrailingSeparator(dlg.Directory());
    return start;
}
