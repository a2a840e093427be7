#include <gtest/gtest.h>

#include "LanguageFixture.h"
#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QMessageBox>

#include "support/ModalDialog.h"
#include "foundations/MessageDlg.h"
#include "foundations/ProgramMessages.h"
#include "foundations/QtTranslations.h"

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

// Message boxes speak the language of the program: captions and buttons by message key.
TEST_F(LanguageChoice, MessageBoxCaptionsAndButtonsFollowTheLanguage) {
    struct Shown {
        QString caption;
        QStringList buttons;
    };
    auto show = [](TMsgDlgType type, unsigned buttons) {
        Shown seen;
        testsupport::whenModalShown<QMessageBox>([&seen](QMessageBox& box) {
            seen.caption = box.windowTitle();
            for (QAbstractButton* b : box.buttons()) seen.buttons << b->text();
            seen.buttons.sort();  // the box orders its buttons by the platform's layout
            box.reject();
        });
        MessageDlg("?", type, buttons);
        return seen;
    };
    LoadLanguageFile();  // Polish: the built-in texts
    Shown pl = show(TMsgDlgType::mtConfirmation, mbYes | mbNo | mbCancel);
    EXPECT_EQ(pl.caption, QStringLiteral("Potwierdź"));
    EXPECT_EQ(pl.buttons, (QStringList{"&Nie", "&Tak", "Anuluj"}));

    writeFile("EN", "[Strings]\nstPotwierdz=Confirm\nstBlad=Error\nstOstrzezenie=Warning\nstInformacja=Information\n"
                    "stTak=&Yes\nstNie=&No\nstAnuluj=Cancel\nstOK=OK\n");
    setChoice("EN");
    LoadLanguageFile();
    Shown en = show(TMsgDlgType::mtConfirmation, mbYes | mbNo | mbCancel);
    EXPECT_EQ(en.caption, "Confirm");
    EXPECT_EQ(en.buttons, (QStringList{"&No", "&Yes", "Cancel"}));
    EXPECT_EQ(MessageDlgCaptionOf(TMsgDlgType::mtError), "Error");
    EXPECT_EQ(MessageDlgCaptionOf(TMsgDlgType::mtWarning), "Warning");
    EXPECT_EQ(MessageDlgCaptionOf(TMsgDlgType::mtInformation), "Information");
}

// Qt's own dialogs follow the language file in use, Polish when the built-in texts are shown.
TEST_F(LanguageChoice, QtTranslationsFollowTheLanguage) {
    EXPECT_EQ(IsoLanguageOf("EN"), "en");
    EXPECT_EQ(IsoLanguageOf("ENU"), "en");
    EXPECT_EQ(IsoLanguageOf("plk"), "pl");
    EXPECT_EQ(IsoLanguageOf("XYZ"), "");

    const bool polishShipped = QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_pl.qm");
    LoadLanguageFile();
    EXPECT_EQ(QtTranslationsLanguage(), polishShipped ? "pl" : "");
    if (polishShipped) EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Anuluj");

    writeFile("EN", "[Strings]\nstBlad=Error\n");
    setChoice("EN");
    LoadLanguageFile();
    EXPECT_NE(QtTranslationsLanguage(), "pl");
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Cancel");

    setChoice("XYZ");  // no such file: Polish again, and a missing translation is no error
    LoadLanguageFile();
    EXPECT_EQ(QtTranslationsLanguage(), polishShipped ? "pl" : "");
    CloseLanguageFile();
    EXPECT_EQ(QtTranslationsLanguage(), "");
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Cancel");
}
