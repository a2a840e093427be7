#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>

#include "LanguageFixture.h"
#include "foundations/ProgramMessages.h"
#include "foundations/RadioGroup.h"
#include "foundations/Transl.h"

using LanguageMenu = LanguageTest;

TEST_F(LanguageMenu, ListsNeutralAndSpecificFilesOnceEach) {
    writeFile("EN", "[Strings]\nstBlad=Error\n");
    writeFile("ENU", "[Strings]\nstBlad=Error (US)\n");
    writeFile("DEU", "");
    writeFile("SRL", "");
    writeFile("XYZ", "");  // no locale has this abbreviation
    QMenu menu;
    BuildLanguageMenu(&menu);
    QStringList captions, names;
    for (QAction* a : menu.actions()) {
        captions << a->text();
        names << a->objectName();
    }
    // German's neutral id cuts DEU to "DE", so the DEU file belongs to Germany.
    EXPECT_EQ(captions, (QStringList{"[default]", "German (Germany)", "English", "English (United States)",
                                     "Serbian (Serbia)"}));
    EXPECT_EQ(names, (QStringList{"Dflt1", "DEU1", "EN1", "ENU1", "SRL1"}));
    EXPECT_TRUE(menu.isEnabled());

    int calls = 0;
    setLanguageChangedHandler([&](LanguageChange k) {
        ++calls;
        EXPECT_EQ(k, LanguageChange::FromMenu);
    });
    menu.actions()[3]->trigger();
    EXPECT_EQ(choice(), "ENU");
    EXPECT_EQ(Msg("stBlad"), "Error (US)");
    menu.actions()[0]->trigger();
    EXPECT_EQ(choice(), "");  // "[default]" stores an empty choice
    EXPECT_EQ(Msg("stBlad"), QStringLiteral("Błąd"));  // Polish system, no PLK file
    EXPECT_EQ(calls, 2);
    setLanguageChangedHandler(nullptr);
}

TEST_F(LanguageMenu, NoFilesDisablesMenuAndList) {
    QMenu menu;
    BuildLanguageMenu(&menu);
    EXPECT_TRUE(menu.actions().isEmpty());
    EXPECT_FALSE(menu.isEnabled());

    TRadioGroup group;
    QStringList abbrevs{"stale"};
    FillLanguageList(&group, abbrevs);
    EXPECT_FALSE(group.isEnabled());
    EXPECT_TRUE(abbrevs.isEmpty());
}

TEST_F(LanguageMenu, OptionsListAndApply) {
    writeFile("EN", "[Strings]\nstBlad=Error\n");
    TRadioGroup group;
    QStringList abbrevs;
    FillLanguageList(&group, abbrevs);
    EXPECT_EQ(group.Items(), (QStringList{"[default]", "English"}));
    EXPECT_EQ(abbrevs, (QStringList{"Dflt", "EN"}));

    std::vector<LanguageChange> seen;
    setLanguageChangedHandler([&](LanguageChange k) { seen.push_back(k); });
    ApplyLanguage(1, abbrevs);
    EXPECT_EQ(choice(), "EN");
    EXPECT_EQ(Msg("stBlad"), "Error");
    ApplyLanguage(5, abbrevs);  // outside the list: nothing happens
    ApplyLanguage(-1, abbrevs);
    EXPECT_EQ(choice(), "EN");
    ApplyLanguage(0, abbrevs);
    EXPECT_EQ(choice(), "");
    EXPECT_EQ(seen, (std::vector<LanguageChange>{LanguageChange::FromOptions, LanguageChange::FromOptions}));
    setLanguageChangedHandler(nullptr);
}

// The menu shows which language is in use: its items are exclusive marks that follow the choice,
// wherever it was made.
TEST_F(LanguageMenu, MarksTheChosenLanguage) {
    writeFile("EN", "[Strings]\nstBlad=Error\n");
    writeFile("ENU", "");
    auto checked = [](const QMenu& m) {
        QStringList names;
        for (QAction* a : m.actions()) {
            EXPECT_TRUE(a->isCheckable()) << a->objectName().toStdString();
            if (a->isChecked()) names << a->objectName();
        }
        return names;
    };
    {
        QMenu none;
        BuildLanguageMenu(&none);
        EXPECT_EQ(checked(none), QStringList{"Dflt1"});  // nothing chosen yet
    }
    setChoice("en");
    QMenu menu;
    BuildLanguageMenu(&menu);
    EXPECT_EQ(checked(menu), QStringList{"EN1"});
    menu.actions()[2]->trigger();
    EXPECT_EQ(checked(menu), QStringList{"ENU1"});
    menu.actions()[2]->trigger();  // the chosen one again: it stays marked
    EXPECT_EQ(checked(menu), QStringList{"ENU1"});

    TRadioGroup group;
    QStringList abbrevs;
    FillLanguageList(&group, abbrevs);
    ApplyLanguage(0, abbrevs);
    EXPECT_EQ(checked(menu), QStringList{"Dflt1"});
}
