// The safe-save routine: a whole new file or the old one intact, on a full disk and when the
// program is killed in the middle of a save; a temporary left by a killed save goes with the next
// save of its target, and nothing else does.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/SafeSave.h"
#include "support/FileSizeLimit.h"

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void put(const QString& path, const QByteArray& bytes) { ASSERT_TRUE(platform::SaveBytes(path, bytes).isEmpty()); }

QStringList temporariesOf(const QString& target) {
    QStringList found;
    const QFileInfo fi(target);
    for (const QString& n : fi.absoluteDir().entryList(QDir::Files | QDir::Hidden))
        if (platform::IsTemporaryOf(target, n)) found << n;
    return found;
}

// A child process that starts saving `target` and stops in the middle of writing, as a program
// does when it is killed there. Returns its pid once the temporary is on disk.
pid_t saveThatHangs(const QString& target) {
    int ready[2];
    if (pipe(ready) != 0) return -1;
    const pid_t pid = fork();
    if (pid == 0) {
        close(ready[0]);
        platform::SaveThroughTemporary(target, [&](QIODevice& d) {
            d.write(QByteArray(3000, 'n'));
            const char c = 'r';
            (void)!write(ready[1], &c, 1);
            for (;;) pause();
            return true;
        });
        _exit(0);
    }
    close(ready[1]);
    char c = 0;
    const bool started = read(ready[0], &c, 1) == 1;
    close(ready[0]);
    return started ? pid : -1;
}

void kill9(pid_t pid) {
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

TEST(SafeSave, FullDiskKeepsTheOldFileAndLeavesNoTemporary) {
    QTemporaryDir dir;
    const QString target = dir.filePath("s.dt2");
    const QByteArray old(5000, 'o');
    put(target, old);
    for (rlim_t limit : {rlim_t(0), rlim_t(4096), rlim_t(8000), rlim_t(12287)}) {
        testsupport::FileSizeLimit full(limit);
        ASSERT_TRUE(full.ok());
        EXPECT_FALSE(platform::SaveBytes(target, QByteArray(12288, 'n')).isEmpty()) << limit;
        EXPECT_EQ(readAll(target), old) << limit;
        EXPECT_TRUE(temporariesOf(target).isEmpty()) << limit;
    }
    put(target, QByteArray(12288, 'n'));
    EXPECT_EQ(readAll(target).size(), 12288);
}

TEST(SafeSave, ReplacesWholeKeepingPermissionsAndLinks) {
    QTemporaryDir dir;
    const QString target = dir.filePath("tabela.txt");
    put(target, "old");
    ASSERT_EQ(chmod(QFile::encodeName(target).constData(), 0640), 0);
    put(target, "new");
    EXPECT_EQ(readAll(target), "new");
    struct stat st {};
    ASSERT_EQ(stat(QFile::encodeName(target).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);

    // Saved through a link: the file it names changes, the link stays a link.
    const QString link = dir.filePath("link.txt");
    ASSERT_TRUE(QFile::link(target, link));
    put(link, "through");
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(readAll(target), "through");

    // A body that reports a failed write, or throws, leaves the old file and no temporary.
    EXPECT_FALSE(platform::SaveThroughTemporary(target, [](QIODevice&) { return false; }).isEmpty());
    EXPECT_THROW(platform::SaveThroughTemporary(target, [](QIODevice&) -> bool { throw 1; }), int);
    EXPECT_EQ(readAll(target), "through");
    EXPECT_TRUE(temporariesOf(target).isEmpty());
}

TEST(SafeSave, NextSaveRemovesWhatAKilledSaveLeftAndNothingElse) {
    QTemporaryDir dir;
    const QString target = dir.filePath("s.dt4");
    const QString other = dir.filePath("t.dt4");
    put(target, "old");

    const pid_t killed = saveThatHangs(target);
    ASSERT_GT(killed, 0);
    kill9(killed);
    const QStringList left = temporariesOf(target);
    ASSERT_EQ(left.size(), 1);
    EXPECT_EQ(readAll(target), "old");

    const pid_t killedOther = saveThatHangs(other);
    ASSERT_GT(killedOther, 0);
    kill9(killedOther);
    ASSERT_EQ(temporariesOf(other).size(), 1);

    // Names of the user's that only look alike, and a save that still runs.
    const QStringList lookAlikes = {"s.dt4.ECFPrf", "s.dt4.~vkm30-abc", "s.dt4.~vkm30-abcdefg", "s.dt4.~vkm30-ab_def",
                                    "x.s.dt4.~vkm30-abcdef", "s.dt4.~vkm30-abcdef.txt"};
    for (const QString& n : lookAlikes) put(dir.filePath(n), "user");
    const pid_t running = saveThatHangs(target);
    ASSERT_GT(running, 0);
    QStringList held = temporariesOf(target);
    held.removeAll(left.first());
    ASSERT_EQ(held.size(), 1);

    put(target, "new");
    EXPECT_EQ(readAll(target), "new");
    EXPECT_EQ(temporariesOf(target), held);          // the killed one went, the running one stays
    EXPECT_EQ(temporariesOf(other).size(), 1);       // another target's is not this save's business
    for (const QString& n : lookAlikes) EXPECT_EQ(readAll(dir.filePath(n)), "user") << n.toStdString();

    kill9(running);
    EXPECT_EQ(platform::RemoveStaleTemporaries(target).size(), 1);
    EXPECT_TRUE(temporariesOf(target).isEmpty());
    EXPECT_EQ(readAll(target), "new");
}

TEST(SafeSave, DamagedCopyKeptOnceBesideTheFile) {
    QTemporaryDir dir;
    const QString file = dir.filePath("defp.dtp");
    put(file, "damaged one");
    const QString first = platform::KeepDamagedCopy(file);
    EXPECT_EQ(first, file + ".damaged");
    EXPECT_EQ(platform::KeepDamagedCopy(file), first);  // the same damage again: no second copy
    put(file, "damaged two");
    const QString second = platform::KeepDamagedCopy(file);
    EXPECT_EQ(second, file + ".damaged2");
    EXPECT_EQ(readAll(first), "damaged one");
    EXPECT_EQ(readAll(second), "damaged two");
    EXPECT_EQ(readAll(file), "damaged two");
    EXPECT_TRUE(platform::KeepDamagedCopy(dir.filePath("missing")).isEmpty());
}

}  // namespace
