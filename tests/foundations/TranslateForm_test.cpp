#include <gtest/gtest.h>

#include <QAction>
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
