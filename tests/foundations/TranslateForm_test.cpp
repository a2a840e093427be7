#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "LanguageFixture.h"
#include "foundations/RadioGroup.h"

namespace {

// A small form as the program builds them: controls named, translated as the last step.
class FTest : public TSSForm {
public:
    explicit FTest(QWidget* parent = nullptr) : TSSForm(parent) {
        setObjectName("FTest");
        setWindowTitle(QStringLiteral("Próba"));
        auto* lay = new QVBoxLayout(this);
        label = new QLabel(QStringLiteral("Etykieta"), this);
        label->setObjectName("Label1");
        button = new QPushButton("OK", this);
        button->setObjectName("Button1");
        button->setToolTip(QStringLiteral("Podpowiedź"));
        group = new TRadioGroup(QStringLiteral("Metoda"), {"a", "b", "c"}, this);
        group->setObjectName("RadioGroupMetoda");
        combo = new QComboBox(this);
        combo->setObjectName("ComboBox1");
        combo->addItems({QStringLiteral("Stal"), QStringLiteral("Żeliwo")});
        auto* bar = new QMenuBar(this);
        auto* menu = bar->addMenu(QStringLiteral("Plik"));
        menu->setObjectName("MenuPlik");
        action = menu->addAction(QStringLiteral("Otwórz"));
        action->setObjectName("ActionOpen");
        series = new QObject(this);
        series->setObjectName("Series1");
        series->setProperty("title", QStringLiteral("Seria"));
        reportLabel = new QObject(this);
        reportLabel->setObjectName("QRLabel1");
        reportLabel->setProperty("caption", QStringLiteral("Raport"));
        for (QWidget* w : {static_cast<QWidget*>(label), static_cast<QWidget*>(button), static_cast<QWidget*>(group)})
            lay->addWidget(w);
        FinishCreate();
    }
    void AfterTranslate() override { ++afterTranslateCalls; }

    QLabel* label;
    QPushButton* button;
    TRadioGroup* group;
    QComboBox* combo;
    QAction* action;
    QObject* series;
    QObject* reportLabel;
    int afterTranslateCalls = 0;
};

}  // namespace

using TranslateFormTest = LanguageTest;

TEST_F(TranslateFormTest, ReplacesNamedTextsAndIgnoresWhatItCannotApply) {
    setChoice("EN");
    writeFile("EN",
              "[ftest]\r\n"
              "Caption=Trial\r\n"
              "Label1.Caption=Label\r\n"
              "label1.hint=lower-case keys work\r\n"
              "Button1.Caption=\r\n"
              "Button1.Hint=Tip\r\n"
              "RadioGroupMetoda.Caption=Method\r\n"
              "RadioGroupMetoda.Item0=First\r\n"
              "RadioGroupMetoda.Item2=Third\r\n"
              "RadioGroupMetoda.Item5=never\r\n"
              "RadioGroupMetoda.Item-1=bad\r\n"
              "RadioGroupMetoda.ItemX=bad\r\n"
              "RadioGroupMetoda.Item=bad\r\n"
              "Label1.Item0=bad\r\n"
              "Unknown.Caption=bad\r\n"
              "NoDot=bad\r\n"
              "MenuPlik.Caption=&File\r\n"
              "ActionOpen.Caption=&Open\r\n"
              "ActionOpen.Hint=bad\r\n"
              "Series1.Title=Series\r\n"
              "Series1.Caption=bad\r\n"
              "QRLabel1.Caption=Report\r\n"
              "QRLabel1.Title=bad\r\n"
              "[Strings]\r\nstBlad=Error\r\n");
    FTest form;
    EXPECT_EQ(form.afterTranslateCalls, 1);
    EXPECT_EQ(form.windowTitle(), "Trial");
    EXPECT_EQ(form.label->text(), "Label");
    EXPECT_EQ(form.label->toolTip(), "lower-case keys work");
    EXPECT_EQ(form.button->text(), "");  // present and empty: emptied
    EXPECT_EQ(form.button->toolTip(), "Tip");
    EXPECT_EQ(form.group->title(), "Method");
    EXPECT_EQ(form.group->Items(), (QStringList{"First", "b", "Third"}));
    EXPECT_EQ(form.group->button(0)->text(), "First");
    EXPECT_EQ(form.findChild<QMenu*>("MenuPlik")->title(), "&File");
    EXPECT_EQ(form.action->text(), "&Open");
    EXPECT_NE(form.action->toolTip(), "bad");
    EXPECT_EQ(form.series->property("title").toString(), "Series");
    EXPECT_EQ(form.reportLabel->property("caption").toString(), "Report");
    EXPECT_FALSE(form.reportLabel->property("title").isValid());
    // The first form opened the file, so messages now come from it.
    EXPECT_EQ(TranslateString("stBlad", "x"), "Error");
}

TEST_F(TranslateFormTest, ComponentsOfAnotherFormUnderItAreNotTouched) {
    setChoice("EN");
    writeFile("EN", "[Main]\nLabel1.Caption=main\n[FTest]\nLabel1.Caption=dialog\n");
    QWidget main;
    main.setObjectName("Main");
    auto* own = new QLabel("x", &main);
    own->setObjectName("Label1");
    auto* dialog = new FTest(&main);  // a dialog of the main window, with its own Label1
    EXPECT_EQ(dialog->label->text(), "dialog");
    own->setObjectName("Other");
    TranslateForm(&main);
    EXPECT_EQ(dialog->label->text(), "dialog");
    EXPECT_EQ(own->text(), "x");
}

TEST_F(TranslateFormTest, WithoutSectionOrFileTheBuiltInTextsStay) {
    writeFile("EN", "[Other]\nCaption=x\n");
    setChoice("EN");
    FTest form;
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Próba"));
    EXPECT_EQ(form.group->Items(), (QStringList{"a", "b", "c"}));
    EXPECT_EQ(form.afterTranslateCalls, 1);
    CloseLanguageFile();
    setChoice("XX");
    FTest other;
    EXPECT_EQ(other.label->text(), "Etykieta");
}

TEST_F(TranslateFormTest, DropDownItemsAreTranslatedLikeRadioItems) {
    setChoice("EN");
    writeFile("EN", "[FTest]\nComboBox1.Item1=Cast iron\nComboBox1.Item2=never\nComboBox1.ItemA=bad\n");
    FTest form;
    EXPECT_EQ(form.combo->itemText(0), "Stal");
    EXPECT_EQ(form.combo->itemText(1), "Cast iron");
    EXPECT_EQ(form.combo->count(), 2);
}

// Switching from a full file to one that lacks keys, or to none, never leaves a text of the
// previous language: what the new file does not name is the built-in text again.
TEST_F(TranslateFormTest, AFileLackingKeysGivesBackTheBuiltInTexts) {
    writeFile("EN",
              "[FTest]\nCaption=Trial\nLabel1.Caption=Label\nButton1.Hint=Tip\n"
              "RadioGroupMetoda.Caption=Method\nRadioGroupMetoda.Item1=Second\nComboBox1.Item0=Steel\n"
              "MenuPlik.Caption=&File\nActionOpen.Caption=&Open\nSeries1.Title=Series\nQRLabel1.Caption=Report\n");
    writeFile("DE", "[FTest]\nLabel1.Caption=Beschriftung\n");
    setChoice("EN");
    FTest form;
    ASSERT_EQ(form.label->text(), "Label");
    // A text the program itself sets is not the language service's to take back.
    auto* shown = new QLabel(QStringLiteral("wartość"), &form);
    shown->setObjectName("LabelValue");

    setChoice("DE");
    LoadLanguageFile();
    TranslateForm(&form);
    EXPECT_EQ(form.label->text(), "Beschriftung");
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Próba"));
    EXPECT_EQ(form.button->toolTip(), QStringLiteral("Podpowiedź"));
    EXPECT_EQ(form.group->title(), "Metoda");
    EXPECT_EQ(form.group->Items(), (QStringList{"a", "b", "c"}));
    EXPECT_EQ(form.combo->itemText(0), "Stal");
    EXPECT_EQ(form.findChild<QMenu*>("MenuPlik")->title(), "Plik");
    EXPECT_EQ(form.action->text(), QStringLiteral("Otwórz"));
    EXPECT_EQ(form.series->property("title").toString(), "Seria");
    EXPECT_EQ(form.reportLabel->property("caption").toString(), "Raport");
    EXPECT_EQ(shown->text(), QStringLiteral("wartość"));

    setChoice("EN");
    LoadLanguageFile();
    TranslateForm(&form);
    EXPECT_EQ(form.label->text(), "Label");
    EXPECT_EQ(form.group->Items(), (QStringList{"a", "Second", "c"}));

    setChoice("");  // the system's language: Polish, no file
    LoadLanguageFile();
    TranslateForm(&form);
    EXPECT_EQ(form.label->text(), "Etykieta");
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Próba"));
    EXPECT_EQ(form.group->Items(), (QStringList{"a", "b", "c"}));
    EXPECT_EQ(form.action->text(), QStringLiteral("Otwórz"));
    EXPECT_EQ(form.afterTranslateCalls, 4);
}
