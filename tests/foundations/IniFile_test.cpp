#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "foundations/IniFile.h"

using foundations::IniFile;

TEST(IniFile, ReadsCodePage1250CaseBlindInFileOrder) {
    IniFile ini;
    ini.parse("key0=before any section\r\n"
              "[Strings]\r\n"
              "; a comment\r\n"
              "stZakoncz=Zako\xF1" "cz pomiar\r\n"
              "  Zeta = last \r\n"
              "alpha=a=b\r\n"
              "ALPHA=second of a name is ignored\r\n"
              "broken line without equals\r\n"
              "Quoted=\"  Trwa  \"\r\n"
              "Empty=\r\n"
              "[strings]\r\n"
              "stZakoncz=a repeated section is ignored\r\n"
              "[MainForm]\n"
              "Caption=\xA3\xF3" "d\x9F\n");
    EXPECT_EQ(ini.value("STRINGS", "stzakoncz"), QStringLiteral("Zakończ pomiar"));
    EXPECT_EQ(ini.keys("Strings"), (QStringList{"stZakoncz", "Zeta", "alpha", "Quoted", "Empty"}));
    EXPECT_EQ(ini.value("Strings", "zeta"), QStringLiteral("last"));
    EXPECT_EQ(ini.value("Strings", "Alpha"), QStringLiteral("a=b"));
    EXPECT_EQ(ini.value("Strings", "Quoted"), QStringLiteral("  Trwa  "));
    EXPECT_EQ(ini.value("Strings", "Empty"), QString(""));
    EXPECT_EQ(ini.value("Strings", "Missing"), std::nullopt);
    EXPECT_EQ(ini.value("Strings", "Missing", "dflt"), "dflt");
    EXPECT_EQ(ini.value("mainform", "caption"), QStringLiteral("Łódź"));
    EXPECT_EQ(ini.value("", "key0"), std::nullopt);
    EXPECT_FALSE(ini.hasSection("Other"));
}

TEST(IniFile, Utf8WithByteOrderMark) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Vkm30.EN");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("\xEF\xBB\xBF[Strings]\r\nstLaserOff=Głowica wyłączona\r\n");
    f.close();
    IniFile ini;
    EXPECT_TRUE(ini.load(path));
    EXPECT_EQ(ini.keys("Strings"), QStringList{"stLaserOff"});
    EXPECT_EQ(ini.value("Strings", "stLaserOff"), QStringLiteral("Głowica wyłączona"));
    EXPECT_FALSE(ini.load(dir.filePath("missing")));
    EXPECT_FALSE(ini.hasSection("Strings"));
}
