#include <gtest/gtest.h>

#include "LanguageFixture.h"
#include "foundations/ProgramMessages.h"

using LanguageChoice = LanguageTest;

TEST_F(LanguageChoice, PolishSystemWithoutFileKeepsBuiltInTexts) {
    LoadLanguageFile();
    EXPECT_TRUE(LanguageFileOpen());
    EXPECT_EQ(fileName(), "Vkm30.PLK");
    EXPECT_EQ(Msg("stBlad"), QStringLiteral("Błąd"));
}

TEST_F(LanguageChoice, OtherSystemWithoutItsFileFallsBackToEnglish) {
    writeFile("EN", "[Strings]\nstBlad=Error\n");
    setSystem(QLocale::German, QLocale::Germany);
    LoadLanguageFile();
    EXPECT_EQ(fileName(), "Vkm30.EN");
    EXPECT_EQ(Msg("stBlad"), "Error");

    writeFile("DEU", "[Strings]\nstBlad=Fehler\n");
    LoadLanguageFile();
    EXPECT_EQ(fileName(), "Vkm30.DEU");
    EXPECT_EQ(Msg("stBlad"), "Fehler");
}

TEST_F(LanguageChoice, StoredChoiceIsOpenedWithoutAnExistenceTest) {
    writeFile("EN", "[Strings]\nstBlad=Error\n");
    setChoice("ENU");
    LoadLanguageFile();
    EXPECT_EQ(fileName(), "Vkm30.ENU");
    EXPECT_EQ(Msg("stBlad"), QStringLiteral("Błąd"));
}

TEST_F(LanguageChoice, FileNameLetterCaseDoesNotMatter) {
    writeFile("en", "[strings]\nSTBLAD=Error\n");
    setChoice("EN");
    LoadLanguageFile();
    EXPECT_EQ(Msg("stBlad"), "Error");
}
