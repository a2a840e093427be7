// Damage met at start and at the end, through the real window: each damaged companion is said in
// one line among the start-up messages and kept (a copy where it will be written again), and a
// settings file that cannot be written is said and left as it was.
#include <QDir>
#include <QFile>

#include "MainWindowFixture.h"
#include "app/MeasurementTable.h"
#include "app/Settings.h"
#include "app/StartupChecks.h"
#include "evaluation/PointLists.h"
#include "foundations/FR_Utils.h"
#include "platform/Registry.h"
#include "platform/SafeSave.h"
#include "support/FileSizeLimit.h"
#include "support/ReadOnlyPath.h"

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

class DamageTest : public MainWindowTest {
protected:
    QString settingsFile() const { return dir.filePath("settings.ini"); }
    void putFile(const QString& path, const QByteArray& bytes) { ASSERT_TRUE(platform::SaveBytes(path, bytes).isEmpty()); }
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

TEST_F(DamageTest, DamagedSettingsAndPointListsAreSaidOnceAndKept) {
    static const char bytes[] = "\x01\x02\xff\xfe\x00\x00 not settings at all \x9c";
    const QByteArray garbage(bytes, sizeof bytes - 1);
    platform::setAppRegistryFile(dir.filePath("other.ini"));
    putFile(settingsFile(), garbage);
    platform::setAppRegistryFile(settingsFile());  // the store opens the damaged file
    const QString dtp = DefaultPositioningListPath(dir.path() + '/');
    const QString dtk = DefaultAngularListPath(dir.path() + '/');
    const QByteArray cutShort = QByteArray::fromHex("05000000") + QByteArray(30, '\x01');  // 5 points promised, 1 there
    putFile(dtp, cutShort);
    TPunkt angular;
    angular.Add().Dystans = 90.0;
    SavePointList(angular, dtk);  // a sound list beside it

    start();
    ASSERT_TRUE(finishStartup());  // the start-up messages are shown once the start-up has ended
    EXPECT_EQ(messageCount(SettingsFileStateMessage(platform::Registry::FileState::Damaged, settingsFile(),
                                                    settingsFile() + ".damaged")), 1);
    EXPECT_EQ(messageCount(DamagedPointListMessage(dtp, dtp + ".damaged")), 1);
    EXPECT_EQ(messagesStartingWith(DamagedPointListMessage(dtk, QString()).left(20)), 1);  // the positioning one only
    EXPECT_EQ(readAll(settingsFile() + ".damaged"), garbage);
    EXPECT_EQ(readAll(dtp + ".damaged"), cutShort);
    EXPECT_EQ(form()->AngularTargetPoints->Count(), 1);

    // The next list and settings are written in their place; the copies stay.
    form()->TargetPoints->Add().Dystans = 10.0;
    app::EndProgram(program);
    TPunkt written;
    LoadPointList(written, dtp);
    EXPECT_EQ(written.Count(), 1);
    EXPECT_EQ(readAll(dtp + ".damaged"), cutShort);
    EXPECT_EQ(readAll(settingsFile() + ".damaged"), garbage);
    platform::Registry again(settingsFile());
    EXPECT_EQ(again.fileState(), platform::Registry::FileState::Fine);
}

TEST_F(DamageTest, DamagedLanguageFileIsSaid) {
    const QString language = dir.filePath("Vkm30.EN");
    putFile(language, QByteArray("\xff\xfe\x00\x01\x02 binary", 12));
    platform::appRegistry().writeString(kLanguageChoiceKey, kLanguageChoiceValue, "EN");
    start();
    ASSERT_TRUE(finishStartup());  // the start-up messages are shown once the start-up has ended
    EXPECT_EQ(messageCount(DamagedLanguageFileMessage(language)), 1);
    EXPECT_EQ(readAll(language), QByteArray("\xff\xfe\x00\x01\x02 binary", 12));
}

TEST_F(DamageTest, SoundStartSaysNoneOfThis) {
    QFile::copy(QStringLiteral(VKM30_TEST_DATA "/../../companions/Vkm30.EN"), dir.filePath("Vkm30.EN"));
    platform::appRegistry().writeString(kLanguageChoiceKey, kLanguageChoiceValue, "EN");
    start();
    ASSERT_TRUE(finishStartup());  // the start-up messages are shown once the start-up has ended
    for (const MessageDlgRequest& m : messages) {
        EXPECT_FALSE(m.text.contains("Vkm30.EN")) << m.text.toStdString();
        EXPECT_FALSE(m.text.contains(".damaged")) << m.text.toStdString();
    }
    EXPECT_EQ(messagesStartingWith(UnwritableFoldersMessage({"x"}).left(20)), 0);
}

TEST_F(DamageTest, FoldersThatCannotBeWrittenAreSaid) {
    QTemporaryDir userData;
    testsupport::ReadOnlyPath programFolder(dir.path());
    testsupport::ReadOnlyPath user(userData.path());
    if (!programFolder.ok() || !user.ok()) GTEST_SKIP() << "no way to make a read-only folder here";
    const QByteArray oldData = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QFile::encodeName(userData.path()));
    start();
    ASSERT_TRUE(finishStartup());  // the start-up messages are shown once the start-up has ended
    if (oldData.isEmpty()) qunsetenv("XDG_DATA_HOME"); else qputenv("XDG_DATA_HOME", oldData);
    ASSERT_EQ(messagesStartingWith(UnwritableFoldersMessage({"x"}).left(20)), 1);
    for (const MessageDlgRequest& m : messages)
        if (m.text.startsWith(UnwritableFoldersMessage({"x"}).left(20)))
            EXPECT_TRUE(m.text.contains(QDir::toNativeSeparators(form()->PositioningDir))) << m.text.toStdString();
    app::EndProgram(program);  // while the folders are still read-only
}

}  // namespace
