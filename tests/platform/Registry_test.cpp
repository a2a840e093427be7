// The settings store: the file is written whole or left as it was (a full disk never empties it
// or cuts it short), in the very format QSettings gives it, and a damaged file is kept aside
// before anything writes over it.
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "platform/Registry.h"
#include "platform/SafeSave.h"
#include "support/FileSizeLimit.h"

namespace {

const QString kOptions = QStringLiteral("SOFTWARE\\Brantova\\VKM30\\Options");

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// About the size of a settings file after some use (9 KB).
void fillLikeAUsedProgram(platform::Registry& r) {
    for (int s = 0; s < 6; ++s)
        for (int i = 0; i < 30; ++i)
            r.writeString(QStringLiteral("SOFTWARE\\Brantova\\VKM30\\Section %1").arg(s), QStringLiteral("Value name %1").arg(i),
                          QStringLiteral("/home/inspektor/Pomiary/Tokarka łoże %1.dt2").arg(i));
    r.writeBinary(QStringLiteral("SOFTWARE\\Brantova\\VKM30"), QStringLiteral("FPDist"), QByteArray("\0\0\0\0\0\x80\x29\x40", 8));
}

TEST(Registry, FullDiskLeavesTheFileAsItWasAndSaysSo) {
    QTemporaryDir dir;
    const QString path = dir.filePath("VKM30.ini");
    {
        platform::Registry r(path);
        fillLikeAUsedProgram(r);
        ASSERT_TRUE(r.sync().isEmpty());
    }
    const QByteArray good = readAll(path);
    ASSERT_GT(good.size(), 9000);

    platform::Registry r(path);
    r.writeString(kOptions, QStringLiteral("Locales"), QStringLiteral("EN"));
    for (rlim_t limit : {rlim_t(0), rlim_t(4096), rlim_t(6000), rlim_t(9000)}) {
        testsupport::FileSizeLimit full(limit);
        ASSERT_TRUE(full.ok());
        EXPECT_FALSE(r.sync().isEmpty()) << limit;
        EXPECT_EQ(readAll(path), good) << limit;
    }
    // Room again: everything is written, the old values and the new one.
    EXPECT_TRUE(r.sync().isEmpty());
    platform::Registry again(path);
    EXPECT_EQ(again.readString(kOptions, QStringLiteral("locales")).value_or(""), "EN");
    EXPECT_EQ(again.readString(QStringLiteral("SOFTWARE\\Brantova\\VKM30\\Section 5"), QStringLiteral("Value name 29")),
              QStringLiteral("/home/inspektor/Pomiary/Tokarka łoże 29.dt2"));
    EXPECT_EQ(again.fileState(), platform::Registry::FileState::Fine);
}

TEST(Registry, WritesTheFormatQSettingsWrites) {
    QTemporaryDir dir;
    {
        platform::Registry r(dir.filePath("ours.ini"));
        fillLikeAUsedProgram(r);
        r.writeString(kOptions, QStringLiteral("Machine_Name"), QStringLiteral("  a, b; \"c\" @d "));
        r.writeInteger(QStringLiteral("SOFTWARE\\Brantova\\VKM30\\Point Parameter"), QStringLiteral("Point distance >"), -12);
    }
    {
        QSettings q(dir.filePath("qt.ini"), QSettings::IniFormat);
        for (int s = 0; s < 6; ++s)
            for (int i = 0; i < 30; ++i)
                q.setValue(QStringLiteral("software/brantova/vkm30/section %1/value name %2").arg(s).arg(i),
                           QStringLiteral("/home/inspektor/Pomiary/Tokarka łoże %1.dt2").arg(i));
        q.setValue(QStringLiteral("software/brantova/vkm30/fpdist"), QByteArray("\0\0\0\0\0\x80\x29\x40", 8));
        q.setValue(QStringLiteral("software/brantova/vkm30/options/machine_name"), QStringLiteral("  a, b; \"c\" @d "));
        q.setValue(QStringLiteral("software/brantova/vkm30/point parameter/point distance >"), QStringLiteral("-12"));
    }
    EXPECT_EQ(readAll(dir.filePath("ours.ini")), readAll(dir.filePath("qt.ini")));
}

TEST(Registry, DamagedFileIsKeptAsideAndWhatCanBeReadIsUsed) {
    struct Case {
        const char* what;
        QByteArray bytes;
        bool locales;  // the one good value can still be read
    };
    const Case cases[] = {
        {"binary garbage", QByteArray("\x01\x02\xff\xfe\x00\x00zz\x9c\x11", 10), false},
        {"a section line cut short", "[software]\nbrantova\\vkm30\\options\\locales=EN\n[software\nx=1\n", true},
        {"a NUL inside", QByteArray("[software]\nbrantova\\vkm30\\options\\locales=EN\n\0\0\0\0", 46), true},
        {"a line that is no value", "[software]\nbrantova\\vkm30\\options\\locales=EN\nnonsense without equals\n", true},
    };
    for (const Case& c : cases) {
        QTemporaryDir dir;
        const QString path = dir.filePath("VKM30.ini");
        ASSERT_TRUE(platform::SaveBytes(path, c.bytes).isEmpty());
        {
            platform::Registry r(path);
            EXPECT_EQ(r.fileState(), platform::Registry::FileState::Damaged) << c.what;
            EXPECT_EQ(r.damagedCopy(), path + ".damaged") << c.what;
            EXPECT_EQ(readAll(path + ".damaged"), c.bytes) << c.what;
            EXPECT_EQ(r.readString(kOptions, QStringLiteral("Locales")).has_value(), c.locales) << c.what;
            r.writeString(kOptions, QStringLiteral("CycleNumber"), QStringLiteral("3"));
            EXPECT_TRUE(r.sync().isEmpty()) << c.what;
        }
        platform::Registry again(path);
        EXPECT_EQ(again.fileState(), platform::Registry::FileState::Fine) << c.what;
        EXPECT_EQ(again.readString(kOptions, QStringLiteral("CycleNumber")).value_or(""), "3") << c.what;
        EXPECT_TRUE(again.damagedCopy().isEmpty()) << c.what;
        EXPECT_EQ(readAll(path + ".damaged"), c.bytes) << c.what;
    }
}

TEST(Registry, DamagedFileThatCannotBeKeptAsideIsNeverWrittenOver) {
    QTemporaryDir dir;
    const QString path = dir.filePath("VKM30.ini");
    const QByteArray damaged = QByteArray(3000, '\x01') + QByteArray(3000, '\0');
    ASSERT_TRUE(platform::SaveBytes(path, damaged).isEmpty());
    {
        testsupport::FileSizeLimit full(1000);  // no room for a copy
        ASSERT_TRUE(full.ok());
        platform::Registry r(path);
        EXPECT_NE(r.fileState(), platform::Registry::FileState::Fine);
        EXPECT_TRUE(r.damagedCopy().isEmpty());
        r.writeString(kOptions, QStringLiteral("CycleNumber"), QStringLiteral("3"));
        EXPECT_FALSE(r.sync().isEmpty());
    }
    EXPECT_EQ(readAll(path), damaged);
}

}  // namespace
