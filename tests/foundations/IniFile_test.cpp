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

TEST(IniFileDamage, WhatNoLanguageFileHoldsIsDamage) {
    const struct {
        QByteArray bytes;
        bool damaged;
    } cases[] = {
        {"[Strings]\r\nstOK=OK\r\n; a comment\r\n\r\n[MainForm]\r\nCaption=VKM30\r\n", false},
        {"\xEF\xBB\xBF[Strings]\nstOK=OK\n", false},
        {"", true},                                   // emptied
        {"  \r\n", true},
        {QByteArray("[Strings]\nstOK=OK\n\0\0\0", 19), true},  // NUL bytes
        {"[Strings\nstOK=OK\n", true},                // a section line cut short
        {"[Strings]\nstOK=OK\nstTak\n", true},        // a line cut short before its "="
        {"\x89PNG\x1a binary", true},
    };
    for (const auto& c : cases) {
        foundations::IniFile ini;
        ini.parse(c.bytes);
        EXPECT_EQ(ini.damaged(), c.damaged) << c.bytes.toStdString();
    }
    // What could be read of a damaged file is still there.
    foundations::IniFile ini;
    ini.parse("[Strings]\nstOK=OK\nstTak\n");
    EXPECT_EQ(ini.value("Strings", "stOK").value_or(""), "OK");
}
