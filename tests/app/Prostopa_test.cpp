#include <QFile>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "app/PunktyPoz.h"
#include "app/UProstopa.h"
#include "evaluation/MeasurementFiles.h"
#include "foundations/FR_Utils.h"
#include "foundations/LocaleTable.h"
#include "foundations/MessageDlg.h"
#include "foundations/RadioGroup.h"
#include "platform/AppPaths.h"
#include "platform/Chart.h"
#include "platform/Registry.h"

namespace {

const QString kFilter = QString::fromUtf8("Pliki prostoliniowości (*%s)|*%s|Wszystkie pliki (*.*)|*.*");

// A run along 0..20 cm: Xa rises by `slope` µm/cm with a 0.7 µm bump at 10 cm, Xr falls by
// 2 µm/cm.
TPunkt run(double slope) {
    TPunkt p;
    for (double x : {0.0, 5.0, 10.0, 15.0, 20.0}) {
        TPunktItem& i = p.Add();
        i.Dystans = x;
        i.Xa = slope * x + (x == 10.0 ? 0.7 : 0.0);
        i.Xr = -2.0 * x;
    }
    return p;
}

class ProstopaTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    std::vector<MessageDlgRequest> messages;
    std::optional<QString> fileAnswer;
    std::vector<FileDialogSettings> dialogs;

    void SetUp() override {
        platform::setProgramDirectory(dir.path());  // no language files: the built-in texts
        platform::setAppRegistryFile(dir.filePath("settings.ini"));
        CloseLanguageFile();
        foundations::setSystemLocaleOverride(QLocale(QLocale::Polish, QLocale::Poland));
        setMessageDlgHook([this](const MessageDlgRequest& r) {
            messages.push_back(r);
            return int(mrOk);
        });
        setFileDialogHook([this](const FileDialogSettings& s, bool save) {
            EXPECT_FALSE(save);
            dialogs.push_back(s);
            return fileAnswer;
        });
    }
    void TearDown() override {
        setMessageDlgHook({});
        setFileDialogHook({});
        foundations::setSystemLocaleOverride(std::nullopt);
        CloseLanguageFile();
        platform::setProgramDirectory(QString());
        platform::setAppRegistryFile(QTemporaryDir().filePath("unused.ini"));
    }

    // A straightness file as the program saves it.
    QString file(const char* name, const TPunkt& p) {
        const QString path = dir.filePath(QString::fromLatin1(name));
        SavePointSeriesFile(path, TMeasurementHeader(), p);
        return path;
    }
    void load(TFProstopa&, QWidget* by, const QString& path) {
        fileAnswer = path;
        QTest::mouseClick(by, Qt::LeftButton, {}, by->rect().center());
    }
    static std::vector<QPointF> points(const platform::TChartSeries* s) {
        std::vector<QPointF> v;
        for (int i = 0; i < s->Count(); ++i) v.emplace_back(s->XValue(i), s->YValue(i));
        return v;
    }
};

}  // namespace

TEST_F(ProstopaTest, ComponentsAndCaptions) {
    TFProstopa f;
    EXPECT_EQ(f.windowTitle(), QString::fromUtf8("Wyliczenie prostopadłości osi"));
    for (const char* n : {"rgOs", "RGStatystyka", "GBOs1", "BWczytaj1", "LPlik1", "Chart1", "KatNachyl1", "GBOs2",
                          "BWczytaj2", "LPlik2", "Chart2", "KatNachyl2", "GBWyniki", "LabelWynik", "BitBtnOk",
                          "BitBtnPomoc"})
        EXPECT_NE(f.findChild<QWidget*>(n), nullptr) << n;
    EXPECT_EQ(f.rgOs->title(), "Pomiar dla osi:");
    EXPECT_EQ(f.rgOs->Items(), QStringList({"Poziomej", "Pionowej"}));
    EXPECT_EQ(f.rgOs->ItemIndex(), 0);
    EXPECT_EQ(f.RGStatystyka->title(), "Rodzaj statystyki");
    EXPECT_EQ(f.RGStatystyka->Items(), QStringList({QString::fromUtf8("Metoda punktów końcowych"),
                                                    QString::fromUtf8("Metoda najmnieszych kwadratów")}));
    EXPECT_EQ(f.RGStatystyka->ItemIndex(), 0);
    EXPECT_EQ(f.GBOs1->title(), QString::fromUtf8("Oś nr1"));
    EXPECT_EQ(f.GBOs2->title(), QString::fromUtf8("Oś nr2"));
    EXPECT_EQ(f.BWczytaj2->text(), "&Wczytaj");
    EXPECT_EQ(f.Label1->text(), QString::fromUtf8("Kąt nachylenia:"));
    EXPECT_EQ(f.Label3->text(), QString::fromUtf8("Kąt między osiami wynosi:"));
    EXPECT_EQ(f.GBWyniki->title(), "Wyniki");
    EXPECT_EQ(f.LabelWynik->text(), "-");
    EXPECT_EQ(f.BitBtnPomoc->text(), "Pomo&c");
    for (platform::TChart* c : {f.Chart1, f.Chart2}) {
        EXPECT_EQ(c->BottomAxis().Title(), QString::fromUtf8("Odległość [cm]"));
        EXPECT_FALSE(c->View3D());
        EXPECT_FALSE(c->Legend().visible);
        EXPECT_FALSE(c->Title().visible);
        EXPECT_FALSE(c->AllowZoom());
    }
    EXPECT_EQ(f.Series1->SeriesColor(), QColor(Qt::red));
    EXPECT_FALSE(f.Series2->Pointer().visible);
}

TEST_F(ProstopaTest, LoadsTwoRunsByButtonAndChartAndShowsTheFigures) {
    const QString x = file("x.dt4", run(1.0));
    const QString y = file("y.dt4", run(0.0));
    TFProstopa f;
    f.StraightnessDir = dir.path();
    f.StraightnessFilter = kFilter;
    f.resize(900, 560);
    f.show();

    load(f, f.BWczytaj1, x);
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].Filter, QString::fromUtf8("Pliki prostoliniowości (*.dt4)|*.dt4|Wszystkie pliki (*.*)|*.*"));
    EXPECT_EQ(dialogs[0].FilterIndex, 1);
    EXPECT_EQ(dialogs[0].InitialDir, dir.path());
    EXPECT_EQ(f.LPlik1->text(), "x.dt4");
    EXPECT_EQ(f.KatNachyl1->text(), "20,63");
    // The end-point line removed: only the bump is left.
    EXPECT_EQ(points(f.Series1), (std::vector<QPointF>{{0, 0}, {5, 0}, {10, 0.7}, {15, 0}, {20, 0}}));
    EXPECT_EQ(f.LabelWynik->text(), "-");  // one run alone gives no result

    load(f, f.Chart2, y);  // a click on the chart loads its axis
    ASSERT_EQ(dialogs.size(), 2u);
    EXPECT_EQ(f.LPlik1->text(), "x.dt4");
    EXPECT_EQ(f.LPlik2->text(), "y.dt4");
    EXPECT_EQ(f.KatNachyl2->text(), "0,00");
    EXPECT_EQ(f.Series2->Count(), 5);
    EXPECT_EQ(f.LabelWynik->text(), QString::fromUtf8("324020,6 sek. = 90° 0' 20,6\""));
    EXPECT_TRUE(messages.empty());

    if (const QByteArray shot = qgetenv("VKM30_SCREENSHOT_DIR"); !shot.isEmpty())
        f.grab().save(QString::fromLocal8Bit(shot) + "/prostopa.png");

    // The choices refit both runs from the points held: no dialog, no file read.
    ASSERT_TRUE(QFile::remove(x) && QFile::remove(y));
    f.rgOs->button(1)->click();
    EXPECT_EQ(dialogs.size(), 2u);
    EXPECT_EQ(f.KatNachyl1->text(), "-41,25");
    EXPECT_EQ(f.KatNachyl2->text(), "-41,25");
    EXPECT_EQ(f.LabelWynik->text(), QString::fromUtf8("324000,0 sek. = 90° 0' 0,0\""));
    f.rgOs->button(0)->click();
    f.RGStatystyka->button(1)->click();
    EXPECT_EQ(dialogs.size(), 2u);
    EXPECT_EQ(f.KatNachyl1->text(), "20,63");  // the bump is symmetric: the same slope
    EXPECT_NEAR(f.Series1->YValue(2), 0.56, 1e-12);
}

TEST_F(ProstopaTest, DamagedFileOrCancelKeepsWhatIsShown) {
    TFProstopa f;
    f.StraightnessFilter = kFilter;
    load(f, f.BWczytaj1, file("x.dt4", run(1.0)));
    load(f, f.BWczytaj2, file("y.dt4", run(0.0)));
    const QString result = f.LabelWynik->text();

    const QString cut = file("cut.dt4", run(4.0));
    {
        QFile c(cut);
        ASSERT_TRUE(c.open(QIODevice::ReadWrite));
        ASSERT_TRUE(c.resize(TMeasurementHeader::Size + 30));
    }
    load(f, f.BWczytaj1, cut);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].type, TMsgDlgType::mtError);
    EXPECT_EQ(messages[0].text, QString::fromUtf8("Nie można otworzyć pliku ") + cut);
    EXPECT_EQ(f.LPlik1->text(), "x.dt4");
    EXPECT_EQ(f.KatNachyl1->text(), "20,63");
    EXPECT_EQ(f.Series1->Count(), 5);
    EXPECT_EQ(f.LPlik2->text(), "y.dt4");
    EXPECT_EQ(f.LabelWynik->text(), result);

    fileAnswer.reset();  // the dialog cancelled
    QTest::mouseClick(f.BWczytaj2, Qt::LeftButton);
    EXPECT_EQ(dialogs.size(), 4u);
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_EQ(f.LabelWynik->text(), result);
}

TEST_F(ProstopaTest, RunWithoutALineShowsZeroAndSaysWhy) {
    TFProstopa f;
    load(f, f.BWczytaj1, file("x.dt4", run(1.0)));
    TPunkt one;
    one.Add().Dystans = 3.0;
    load(f, f.BWczytaj2, file("one.dt4", one));
    EXPECT_EQ(f.LPlik2->text(), "one.dt4");
    EXPECT_EQ(f.KatNachyl2->text(), "0,00");
    EXPECT_EQ(f.LabelWynik->text(),
              QString::fromUtf8("Oś nr2: za mało punktów, by wyznaczyć linię (potrzeba dwóch w różnych odległościach)."));

    if (const QByteArray shot = qgetenv("VKM30_SCREENSHOT_DIR"); !shot.isEmpty()) {
        f.resize(900, 560);
        f.grab().save(QString::fromLocal8Bit(shot) + "/prostopa-fault.png");
    }

    // An empty run replaces the last one's curve instead of leaving it under the new name.
    load(f, f.BWczytaj1, file("empty.dt4", TPunkt()));
    EXPECT_EQ(f.Series1->Count(), 0);
    EXPECT_EQ(f.KatNachyl1->text(), "0,00");
    EXPECT_TRUE(f.LabelWynik->text().startsWith(QString::fromUtf8("Oś nr1: za mało punktów")));
}

TEST_F(ProstopaTest, ChartBehavesLikeAButton) {
    TFProstopa f;
    auto* bevel = qobject_cast<QFrame*>(f.Chart1->parentWidget());
    ASSERT_NE(bevel, nullptr);
    EXPECT_EQ(bevel->frameShadow(), QFrame::Raised);
    QTest::mousePress(f.Chart1, Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_EQ(bevel->frameShadow(), QFrame::Sunken);
    EXPECT_TRUE(dialogs.empty());
    QTest::mouseRelease(f.Chart1, Qt::LeftButton, {}, QPoint(20, 20));  // no file chosen
    EXPECT_EQ(bevel->frameShadow(), QFrame::Raised);
    EXPECT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(f.LPlik1->text(), "");
}
