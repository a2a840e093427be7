// Damage met at start and at the end, through the real window: a settings file that cannot be
// written is said and left as it was.
#include <QFile>

#include "MainWindowFixture.h"
#include "app/Settings.h"
#include "platform/Registry.h"
#include "support/FileSizeLimit.h"

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

class DamageTest : public MainWindowTest {
protected:
    QString settingsFile() const { return dir.filePath("settings.ini"); }
    int messagesStartingWith(const QString& start) const {
        int n = 0;
        for (const MessageDlgRequest& r : messages) n += r.text.startsWith(start);
        return n;
    }
};

TEST_F(DamageTest, SettingsThatCannotBeWrittenAtTheEndAreSaidAndTheFileKept) {
    platform::appRegistry().writeString(QString(kSettingsKey) + "\\Options", "CycleNumber", "3");
    ASSERT_TRUE(platform::appRegistry().sync().isEmpty());
    const QByteArray before = readAll(settingsFile());
    start();
    messages.clear();
    {
        testsupport::FileSizeLimit full(512);  // the disk is full when the program ends
        ASSERT_TRUE(full.ok());
        app::EndProgram(program);
    }
    const QString said = SettingsNotSavedMessage(settingsFile(), QString()).section(u'\n', 0, 0);
    EXPECT_EQ(messagesStartingWith(said), 1) << said.toStdString();
    EXPECT_EQ(readAll(settingsFile()), before);
}

}  // namespace
