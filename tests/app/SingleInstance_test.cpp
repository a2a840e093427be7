#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>
#include <QWidget>

#include "app/multinst.h"

namespace {

QString programPath() { return QCoreApplication::applicationDirPath() + "/vkm30"; }

QProcessEnvironment programEnvironment(const QTemporaryDir& dir) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_RUNTIME_DIR", dir.path());
    env.insert("VKM30_SETTINGS", dir.filePath("settings.ini"));
    env.insert("VKM30_COM1", dir.filePath("no-such-port"));  // never a real port from a test
    return env;
}

bool waitForFile(const QString& path, int ms) {
    QElapsedTimer t;
    t.start();
    while (!QFileInfo::exists(path)) {
        if (t.elapsed() > ms) return false;
        QThread::msleep(20);
    }
    return true;
}

}  // namespace

TEST(SingleInstance, SecondGuardTellsTheFirstAndIsToldToEnd) {
    QTemporaryDir dir;
    app::InstanceGuard first(dir.path());
    EXPECT_EQ(first.flags(), 0);
    QSignalSpy raised(&first, &app::InstanceGuard::activationRequested);
    {
        app::InstanceGuard second(dir.path());
        EXPECT_EQ(second.flags(), app::ifOtherRunning);
    }
    EXPECT_TRUE(raised.count() > 0 || raised.wait(3000));
}

TEST(SingleInstance, BringToFrontRestoresAMinimisedWindow) {
    QWidget w;
    w.showMinimized();
    app::BringToFront(&w);
    EXPECT_FALSE(w.windowState() & Qt::WindowMinimized);
    EXPECT_TRUE(w.isVisible());
    w.showMaximized();
    app::BringToFront(&w);
    EXPECT_TRUE(w.windowState() & Qt::WindowMaximized);
}

TEST(SingleInstance, LockIsFreeAgainOnceTheFirstHasEnded) {
    QTemporaryDir dir;
    { app::InstanceGuard first(dir.path()); }
    app::InstanceGuard again(dir.path());
    EXPECT_EQ(again.flags(), 0);
}

TEST(SingleInstance, SecondProgramEndsAndTheRunningCopyIsTold) {
    QTemporaryDir dir;
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    ASSERT_TRUE(QFileInfo::exists(programPath())) << programPath().toStdString();

    // A copy running in this process receives the second program's message.
    app::InstanceGuard running(dir.path());
    QSignalSpy raised(&running, &app::InstanceGuard::activationRequested);
    QProcess second;
    second.setProcessEnvironment(programEnvironment(dir));
    second.start(programPath());
    ASSERT_TRUE(second.waitForFinished(20000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(raised.count() > 0 || raised.wait(3000));
}

TEST(SingleInstance, RealProgramStartedTwice) {
    QTemporaryDir dir;
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcess first;
    first.setProcessEnvironment(programEnvironment(dir));
    first.start(programPath());
    ASSERT_TRUE(first.waitForStarted(10000));
    const QString socket = dir.filePath(app::InstanceGuard::baseName() + ".sock");
    ASSERT_TRUE(waitForFile(socket, 20000));

    QProcess second;
    second.setProcessEnvironment(programEnvironment(dir));
    second.start(programPath());
    ASSERT_TRUE(second.waitForFinished(20000));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(first.state(), QProcess::Running);  // the first copy goes on

    // A copy that died without cleaning up leaves its lock and socket behind: the next start
    // takes them over instead of believing a copy still runs.
    first.kill();
    ASSERT_TRUE(first.waitForFinished(5000));
    ASSERT_TRUE(QFileInfo::exists(socket));
    app::InstanceGuard next(dir.path());
    EXPECT_EQ(next.flags(), 0);
}

// A running copy that cannot be reached (its listening failed) is not raised, yet the second
// copy still ends, without waiting long.
TEST(SingleInstance, UnreachableFirstCopyStillEndsTheSecond) {
    QTemporaryDir dir;
    QLockFile held(dir.filePath(app::InstanceGuard::baseName() + ".lock"));
    ASSERT_TRUE(held.tryLock(0));
    QElapsedTimer t;
    t.start();
    app::InstanceGuard second(dir.path());
    EXPECT_EQ(second.flags(), app::ifOtherRunning);
    EXPECT_LT(t.elapsed(), 3000);
}
