#include "app/UProstopa.h"

#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/HelpWindow.h"
#include "app/PunktyPoz.h"
#include "evaluation/MeasurementFiles.h"
#include "evaluation/MeasurementFilesDocument.h"
#include "foundations/MessageDlg.h"
#include "foundations/ProgramMessages.h"
#include "foundations/RadioGroup.h"
#include "platform/Chart.h"

using platform::TChart;
using platform::TLineSeries;


namespace {

// A flat chart of one red line without markers, title, legend or zoom, inside a raised bevel.
TChart* makeChart(QWidget* parent, const char* name, const char* seriesName, TLineSeries*& series,
                  QFrame*& bevel) {
    bevel = new QFrame(parent);
    bevel->setFrameShape(QFrame::Panel);
    bevel->setFrameShadow(QFrame::Raised);
    bevel->setLineWidth(2);
    auto* box = new QVBoxLayout(bevel);
    box->setContentsMargins(2, 2, 2, 2);
    auto* chart = new TChart(bevel);
    chart->setObjectName(QString::fromLatin1(name));
    chart->SetView3D(false);
    chart->Title().visible = false;
    chart->SetLegendVisible(false);
    chart->SetAllowZoom(false);
    chart->SetColor(Qt::white);
    chart->setMinimumSize(340, 240);
    chart->setCursor(Qt::PointingHandCursor);
    series = chart->AddNewSeries<TLineSeries>(QString::fromLatin1(seriesName));
    series->SetSeriesColor(Qt::red);
    series->Pointer().visible = false;
    series->XValues().order = platform::TValueOrder::Ascending;
    box->addWidget(chart);
    return chart;
}

QLabel* label(QWidget* parent, const char* name, const QString& text) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

QPushButton* button(QWidget* parent, const char* name, const QString& text) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

}  // namespace

TFProstopa::TFProstopa(QWidget* parent) : TSSForm(parent) {
    setObjectName("FProstopa");
    setWindowTitle(QString::fromUtf8("Wyliczenie prostopadłości osi"));
    setProperty("HelpContext", HelpContext);

    auto* main = new QVBoxLayout(this);

    auto* choices = new QHBoxLayout;
    rgOs = new TRadioGroup(QStringLiteral("Pomiar dla osi:"), {QStringLiteral("Poziomej"), QStringLiteral("Pionowej")},
                           this);
    rgOs->setObjectName("rgOs");
    rgOs->SetColumns(2);
    rgOs->SetItemIndex(0);
    RGStatystyka = new TRadioGroup(QStringLiteral("Rodzaj statystyki"),
                                   {QString::fromUtf8("Metoda punktów końcowych"),
                                    QString::fromUtf8("Metoda najmnieszych kwadratów")},
                                   this);
    RGStatystyka->setObjectName("RGStatystyka");
    RGStatystyka->SetColumns(2);
    RGStatystyka->SetItemIndex(0);
    choices->addWidget(rgOs, 1);
    choices->addWidget(RGStatystyka, 2);
    main->addLayout(choices);

    auto axisBox = [this](const char* name, const QString& caption, const char* buttonName,
                          const char* fileName, const char* chartName, const char* seriesName,
                          const char* angleCaptionName, const char* angleName, QPushButton*& load,
                          QLabel*& file, TChart*& chart, TLineSeries*& series, QLabel*& angleCaption,
                          QLabel*& angle, QFrame*& bevel) {
        auto* g = new QGroupBox(caption, this);
        g->setObjectName(QString::fromLatin1(name));
        auto* v = new QVBoxLayout(g);
        auto* top = new QHBoxLayout;
        load = button(g, buttonName, QStringLiteral("&Wczytaj"));
        file = label(g, fileName, QString());
        file->setTextInteractionFlags(Qt::TextSelectableByMouse);
        top->addWidget(load);
        top->addWidget(file, 1);
        v->addLayout(top);
        chart = makeChart(g, chartName, seriesName, series, bevel);
        v->addWidget(bevel, 1);
        auto* bottom = new QHBoxLayout;
        angleCaption = label(g, angleCaptionName, QString::fromUtf8("Kąt nachylenia:"));
        angle = label(g, angleName, QString());
        angle->setMinimumWidth(90);
        angle->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        // The unit of the figure, which the form's own captions leave unsaid.
        auto* unit = new QLabel(QStringLiteral("sek."), g);
        unit->setObjectName(QString::fromLatin1(angleName) + QStringLiteral("Jedn"));
        bottom->addWidget(angleCaption);
        bottom->addWidget(angle);
        bottom->addWidget(unit);
        bottom->addStretch();
        v->addLayout(bottom);
        return g;
    };
    auto* axes = new QHBoxLayout;
    GBOs1 = axisBox("GBOs1", QString::fromUtf8("Oś nr1"), "BWczytaj1", "LPlik1", "Chart1",
                    "Series1", "Label1", "KatNachyl1", BWczytaj1, LPlik1, Chart1, Series1, Label1, KatNachyl1,
                    bevel1_);
    GBOs2 = axisBox("GBOs2", QString::fromUtf8("Oś nr2"), "BWczytaj2", "LPlik2", "Chart2", "Series2", "Label2",
                    "KatNachyl2", BWczytaj2, LPlik2, Chart2, Series2, Label2, KatNachyl2, bevel2_);
    axes->addWidget(GBOs1);
    axes->addWidget(GBOs2);
    main->addLayout(axes, 1);

    auto* bottom = new QHBoxLayout;
    GBWyniki = new QGroupBox(QStringLiteral("Wyniki"), this);
    GBWyniki->setObjectName("GBWyniki");
    auto* results = new QHBoxLayout(GBWyniki);
    Label3 = label(GBWyniki, "Label3", QString::fromUtf8("Kąt między osiami wynosi:"));
    LabelWynik = label(GBWyniki, "LabelWynik", QStringLiteral("-"));
    LabelWynik->setWordWrap(true);
    LabelWynik->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont big = LabelWynik->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.3);
    LabelWynik->setFont(big);
    results->addWidget(Label3);
    results->addWidget(LabelWynik, 1);
    bottom->addWidget(GBWyniki, 1);
    auto* buttons = new QVBoxLayout;
    BitBtnOk = button(this, "BitBtnOk", QStringLiteral("OK"));
    BitBtnOk->setDefault(true);
    BitBtnPomoc = button(this, "BitBtnPomoc", QStringLiteral("Pomo&c"));
    buttons->addStretch();
    buttons->addWidget(BitBtnOk);
    buttons->addWidget(BitBtnPomoc);
    bottom->addLayout(buttons);
    main->addLayout(bottom);

    connect(BWczytaj1, &QPushButton::clicked, this, [this] { BWczytaj1Click(BWczytaj1); });
    connect(BWczytaj2, &QPushButton::clicked, this, [this] { BWczytaj1Click(BWczytaj2); });
    for (TChart* c : {Chart1, Chart2}) {
        connect(c, &TChart::mouseDown, this, [this, c](QPoint, Qt::MouseButton, Qt::KeyboardModifiers) {
            ChartMouseDown(c);
        });
        connect(c, &TChart::mouseUp, this, [this, c](QPoint pos, Qt::MouseButton b) {
            ChartMouseUp(c);
            // A click on the chart loads its axis, as its button does.
            if (b == Qt::LeftButton && c->rect().contains(pos)) BWczytaj1Click(c);
        });
    }
    connect(rgOs, &TRadioGroup::changed, this, [this](int) { RGStatystykaClick(); });
    connect(RGStatystyka, &TRadioGroup::changed, this, [this](int) { RGStatystykaClick(); });
    connect(BitBtnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(BitBtnPomoc, &QPushButton::clicked, this, [this] { BitBtnPomocClick(); });

    FinishCreate();
    FormCreate();
}

void TFProstopa::FormCreate() {
    const QString title = Msg(QStringLiteral("stOdleglosc")) + QStringLiteral(" [cm]");
    Chart1->BottomAxis().SetTitle(title);
    Chart2->BottomAxis().SetTitle(title);
    // The residuals are deviations in micrometres.
    Chart1->LeftAxis().SetTitle(QString::fromUtf8("[µm]"));
    Chart2->LeftAxis().SetTitle(QString::fromUtf8("[µm]"));
}

QFrame* TFProstopa::bevelOf(TChart* chart) const { return chart == Chart1 ? bevel1_ : bevel2_; }

void TFProstopa::takeChoices() {
    Eval.plane = rgOs->ItemIndex() == 1 ? evaluation::ppVertical : evaluation::ppHorizontal;
    Eval.line = RGStatystyka->ItemIndex() == 1 ? evaluation::plLeastSquares : evaluation::plEndPoints;
}

void TFProstopa::BWczytaj1Click(QObject* sender) {
    const int axis = (sender == BWczytaj1 || sender == Chart1) ? 0 : 1;
    FileDialogSettings s;
    const QString filter = StraightnessFilter.isEmpty() ? QStringLiteral("(*%s)|*%s") : StraightnessFilter;
    s.Filter = FilterWithExtension(filter, MeasurementFileExtension(mfStraightness));
    s.FilterIndex = 1;
    s.InitialDir = StraightnessDir;
    const std::optional<QString> chosen = RunFileDialog(this, s, false);
    if (!chosen) return;
    takeChoices();
    if (const auto err = Eval.LoadAxis(axis, *chosen)) {
        // The axis keeps the run it had; the other one is untouched.
        MessageDlg(*err, TMsgDlgType::mtError, mbOK);
        return;
    }
    (axis == 0 ? LPlik1 : LPlik2)->setText(QFileInfo(*chosen).fileName());
    PlotAxisLine(axis);
    ShowPerpendicularity();
}

void TFProstopa::RGStatystykaClick() {
    PlotAxisLine(0);
    PlotAxisLine(1);
    ShowPerpendicularity();
}

void TFProstopa::ChartMouseDown(TChart* chart) { bevelOf(chart)->setFrameShadow(QFrame::Sunken); }

void TFProstopa::ChartMouseUp(TChart* chart) { bevelOf(chart)->setFrameShadow(QFrame::Raised); }

void TFProstopa::PlotAxisLine(int axis) {
    takeChoices();
    Eval.FitAxis(axis);
    const auto& a = Eval.axis(axis);
    if (!a.loaded) return;
    TLineSeries* series = axis == 0 ? Series1 : Series2;
    series->Clear();
    for (const QPointF& p : a.line.residuals) series->AddXY(p.x(), p.y());
    (axis == 0 ? KatNachyl1 : KatNachyl2)->setText(evaluation::FormatSlopeAngle(a.angle));
}

void TFProstopa::ShowPerpendicularity() { LabelWynik->setText(Eval.ResultText()); }

void TFProstopa::BitBtnPomocClick() {
    ShowHelpContext(HelpContext);
}

void ShowPerpendicularityForm(const QString& straightnessDir, const QString& straightnessFilter, QWidget* parent) {
    TFProstopa f(parent);
    f.StraightnessDir = straightnessDir;
    f.StraightnessFilter = straightnessFilter;
    f.exec();
}
