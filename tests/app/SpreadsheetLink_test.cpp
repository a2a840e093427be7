// The spreadsheet beside the live readout: the desktop's default program found through
// xdg-mime and its desktop entry, and the readout page's button that starts it.
#include <QFile>
#include <QStatusBar>
#include <QPushButton>

#include "MainWindowFixture.h"
#include "app/SpreadsheetLink.h"

namespace {

TEST(SpreadsheetLinkTest, CommandOfADesktopEntry) {
    struct Case {
        const char* entry;
        const char* program;
        QStringList arguments;
    } cases[] = {
        {"[Desktop Entry]\nName=Calc\nExec=libreoffice --calc %U\n", "libreoffice", {"--calc"}},
        {"[Desktop Entry]\nExec=\"/opt/My Office/calc\" --norestore %f\n", "/opt/My Office/calc", {"--norestore"}},
        {"[Desktop Entry]\nExec=gnumeric 100%%\n", "gnumeric", {"100%"}},
        // Only the entry's own group counts.
        {"[Desktop Action New]\nExec=other\n[Desktop Entry]\nExecutable=x\nExec = calc\n", "calc", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entry);
        const auto cmd = spreadsheet::DesktopEntryCommand(QString::fromUtf8(c.entry));
        ASSERT_TRUE(cmd);
        EXPECT_EQ(cmd->program, c.program);
        EXPECT_EQ(cmd->arguments, c.arguments);
    }
    EXPECT_FALSE(spreadsheet::DesktopEntryCommand("[Desktop Entry]\nName=Calc\n"));
    EXPECT_FALSE(spreadsheet::DesktopEntryCommand("[Desktop Entry]\nExec=%U\n"));
}

// A desktop whose xdg-mime answers with `entry` (empty: no default) and whose applications
// folder holds the entry with `exec`.
class SpreadsheetWindowTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        savedPath = qgetenv("PATH");
        savedDataHome = qgetenv("XDG_DATA_HOME");
        qputenv("PATH", (dir.filePath("bin") + ":" + QString::fromLocal8Bit(savedPath)).toLocal8Bit());
        qputenv("XDG_DATA_HOME", dir.filePath("share").toLocal8Bit());
        QDir().mkpath(dir.filePath("bin"));
        QDir().mkpath(dir.filePath("share/applications"));
    }
    void TearDown() override {
        qputenv("PATH", savedPath);
        if (savedDataHome.isEmpty()) qunsetenv("XDG_DATA_HOME");
        else qputenv("XDG_DATA_HOME", savedDataHome);
        MainWindowTest::TearDown();
    }
    void desktop(const QString& entry, const QString& exec) {
        QFile script(dir.filePath("bin/xdg-mime"));
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        // The OpenDocument type has no default; the ".xls" type has `entry`.
        script.write(QStringLiteral("#!/bin/sh\ncase \"$3\" in application/vnd.ms-excel) echo '%1';; esac\n")
                         .arg(entry)
                         .toUtf8());
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QFile e(dir.filePath("share/applications/" + entry));
        if (entry.isEmpty()) return;
        ASSERT_TRUE(e.open(QIODevice::WriteOnly));
        e.write(("[Desktop Entry]\nType=Application\nExec=" + exec + " %U\n").toUtf8());
    }
    QByteArray savedPath, savedDataHome;
};

TEST_F(SpreadsheetWindowTest, ButtonStartsTheDefaultSpreadsheetAndSaysReadingsAreNotSent) {
    const QString started = dir.filePath("started");
    QFile marker(dir.filePath("bin/fake-calc"));
    ASSERT_TRUE(marker.open(QIODevice::WriteOnly));
    marker.write(QStringLiteral("#!/bin/sh\ntouch '%1'\n").arg(started).toUtf8());
    marker.close();
    marker.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    desktop("vkm30-calc.desktop", dir.filePath("bin/fake-calc"));

    const auto cmd = spreadsheet::FindExcelPath();
    ASSERT_TRUE(cmd);
    EXPECT_EQ(cmd->program, dir.filePath("bin/fake-calc"));

    start();
    TMainForm* f = form();
    Control<QPushButton>(f, "BitBtn1")->click();
    EXPECT_EQ(f->statusBar()->currentMessage(), spreadsheet::NoTransferText());
    EXPECT_TRUE(pumpUntil([&] { return QFile::exists(started); }));
}

TEST_F(SpreadsheetWindowTest, WithoutADefaultProgramTheButtonSaysSo) {
    desktop(QString(), QString());
    EXPECT_FALSE(spreadsheet::FindExcelPath());
    start();
    TMainForm* f = form();
    Control<QPushButton>(f, "BitBtn1")->click();
    EXPECT_EQ(f->statusBar()->currentMessage(), spreadsheet::NoSpreadsheetText());
}

}  // namespace
