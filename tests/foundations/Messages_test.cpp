#include <gtest/gtest.h>

#include <QSet>

#include "LanguageFixture.h"
#include "foundations/ProgramMessages.h"

TEST(ProgramMessages, BuiltInTextsAreExact) {
    EXPECT_EQ(BuiltInMessage("stTrwaPomiar"), "        Trwa Pomiar!!!!   ");
    EXPECT_EQ(BuiltInMessage("stZakoncz"), QStringLiteral("    Najpierw zakończ pomiar!!!!   "));
    EXPECT_EQ(BuiltInMessage("stBrakInfo"), QStringLiteral("Brak informacji o maszynie\rCzy chcesz je podać?"));
    EXPECT_EQ(BuiltInMessage("stBrakKalibracji"),
              QStringLiteral("Brak lub uszkodzony plik kalibracji stacji meteo - Kalibracja.dat\r"
                             "Stacja meteo nie będzie działać !!!"));
    EXPECT_EQ(BuiltInMessage("stMenuGlowne"), QStringLiteral("&Główne Menu"));
    EXPECT_EQ(BuiltInMessage("stDoPunktu"), "do punktu %d lub zakończ - STOP.");
    EXPECT_EQ(BuiltInMessage("stMetoda2OS"), "3 D");
    EXPECT_EQ(BuiltInMessage("stOdstepPunkt"), QStringLiteral("Odstęp miądzy punktami"));
    EXPECT_EQ(BuiltInMessage("stCap"), "Veldrasta");
    EXPECT_EQ(BuiltInMessage("stUnknownKey"), QString());
}

TEST(ProgramMessages, KeysAreCaseBlindAndOneEntryEach) {
    for (const char* k : {"StCapPoz", "StCapProsto", "StCapMapa", "StCapPred"}) {
        QString lower = QString::fromLatin1(k);
        lower[0] = u's';
        EXPECT_FALSE(BuiltInMessage(k).isEmpty()) << k;
        EXPECT_EQ(BuiltInMessage(k), BuiltInMessage(lower)) << k;
    }
    EXPECT_EQ(BuiltInMessage("STCAPPOZ"), "Pozycjonowanie Liniowe");
    const QStringList keys = BuiltInMessageKeys();
    QSet<QString> lower;
    for (const QString& k : keys) {
        EXPECT_TRUE(k.startsWith("st", Qt::CaseInsensitive)) << k.toStdString();
        EXPECT_FALSE(BuiltInMessage(k).isEmpty()) << k.toStdString();
        lower.insert(k.toLower());
    }
    EXPECT_EQ(keys.size(), 152);
    EXPECT_EQ(lower.size(), keys.size());
}

TEST(ProgramMessages, FillPlaceholderReplacesOnlyTheFirst) {
    EXPECT_EQ(FillPlaceholder("Punkt %d zaliczony.", 7), "Punkt 7 zaliczony.");
    EXPECT_EQ(FillPlaceholder("100% done, point %d of %d", 3), "100% done, point 3 of %d");
    EXPECT_EQ(FillPlaceholder("name %s", "X"), "name X");
    EXPECT_EQ(FillPlaceholder("no mark %", 1), "no mark %");
}

using MessagesWithLanguageFile = LanguageTest;

TEST_F(MessagesWithLanguageFile, BuiltInUntilAFileIsOpenedThenReplacedByKey) {
    setChoice("EN");
    writeFile("EN", "[Strings]\r\nstCapPoz=Linear positioning\r\nstBlad=Error\r\n");
    // Before the first form: built-in, though a file is configured.
    EXPECT_EQ(Msg("stBlad"), QStringLiteral("Błąd"));
    LoadLanguageFile();
    EXPECT_EQ(Msg("stBlad"), "Error");
    EXPECT_EQ(Msg("StCapPoz"), "Linear positioning");  // the same entry as "stCapPoz"
    EXPECT_EQ(Msg("stCapPoz"), "Linear positioning");
    EXPECT_EQ(Msg("stTrwaPomiar"), "        Trwa Pomiar!!!!   ");  // not in the file
    EXPECT_EQ(TranslateString("stOther", "fixed"), "fixed");
}
