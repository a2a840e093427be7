#include "app/RecentFiles.h"

#include <QAction>
#include <QMenu>

TRecentFileList::TRecentFileList() : Entries_(kEntries, QString()) {}

void TRecentFileList::Add(const QString& fileName) {
    const qsizetype at = Entries_.indexOf(fileName);
    if (at >= 0) Entries_.removeAt(at);
    while (Entries_.size() > kEntries - 1) Entries_.removeLast();
    while (Entries_.size() < kEntries - 1) Entries_.append(QString());
    Entries_.prepend(fileName);
}

void TRecentFileList::SetEntries(const QStringList& entries) {
    Entries_ = entries.mid(0, kEntries);
    while (Entries_.size() < kEntries) Entries_.append(QString());
}

QString RecentFileCaption(int n, const QString& entry) { return "&" + QString::number(n + 1) + " " + entry; }

QString RecentFileFromCaption(const QString& caption) { return caption.mid(3); }

void UpdateRecentFilesMenu(QAction* const commands[TRecentFileList::kEntries], const TRecentFileList& list) {
    for (int n = 0; n < TRecentFileList::kEntries; ++n) {
        QAction* a = commands[n];
        if (!a) continue;
        const QString e = list.Entry(n);
        if (!e.isEmpty()) a->setText(RecentFileCaption(n, e));
        a->setVisible(!e.isEmpty());
    }
}

void FillRecentFilesMenu(QMenu* menu, const TRecentFileList& list, std::function<void(const QString&)> onChoose) {
    QAction* commands[TRecentFileList::kEntries] = {};
    for (int n = 0; n < TRecentFileList::kEntries; ++n) {
        const QString name = QString::fromLatin1(kRecentFileCommandNames[n]);
        for (QAction* a : menu->actions())
            if (a->objectName() == name) commands[n] = a;
        if (!commands[n]) {
            commands[n] = menu->addAction(QString());
            commands[n]->setObjectName(name);
            commands[n]->setData(33 + n);  // Tag
        }
        // One connection per menu fill: the previous one goes, so a choice is reported once.
        QObject::disconnect(commands[n], &QAction::triggered, nullptr, nullptr);
        QAction* a = commands[n];
        QObject::connect(a, &QAction::triggered, menu, [a, onChoose] {
            if (onChoose) onChoose(RecentFileFromCaption(a->text()));
        });
    }
    UpdateRecentFilesMenu(commands, list);
}
