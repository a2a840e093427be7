#include <gtest/gtest.h>

#include <QCoreApplication>

#include "foundations/IniFile.h"
#include "foundations/ProgramMessages.h"

// The English language file that ships beside the program.
TEST(EnglishLanguageFile, TranslatesEveryMessageKeepingPlaceholdersAndBlanks) {
    foundations::IniFile ini;
    ASSERT_TRUE(ini.load(QCoreApplication::applicationDirPath() + "/Vkm30.EN"));
    for (const QString& key : BuiltInMessageKeys()) {
        auto v = ini.value("Strings", key);
        ASSERT_TRUE(v.has_value()) << key.toStdString();
        const QString builtIn = BuiltInMessage(key);
        EXPECT_EQ(v->contains("%d"), builtIn.contains("%d")) << key.toStdString();
        EXPECT_EQ(v->startsWith(' '), builtIn.startsWith(' ')) << key.toStdString();
    }
    EXPECT_EQ(ini.value("MainForm", "Plik1.Caption"), "&File");
}
