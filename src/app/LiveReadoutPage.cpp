// The live readout page: its controls, and its switches and keys handed to the mode sequences.
#include "app/LiveReadoutPage.h"

#include "app/ModeSequences.h"
#include "instrument/OdczytSygnaluPomiarowego.h"
#include "app/WarmUpControls.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <functional>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QStyle>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/HelpWindow.h"
#include "app/AlignmentTarget.h"
#include "app/ModeSequences.h"
#include "app/rejstracja.h"
#include "app/ModeSequencesMainForm.h"
#include "app/PageControls.h"
#include "app/StraightnessRun.h"
#include "app/SpreadsheetLink.h"
#include "app/Unit_glowny.h"
#include "foundations/Display.h"
#include "platform/ChartSeries.h"

using namespace pagecontrols;

namespace {

// Keys that reach the main window and that the mode sequences act on: Esc on the pages that
// have a way back (live readout, velocity, measuring, angular, flatness), R on the live readout
// page. Everything else passes on.
class WindowKeys final : public QObject {
public:
    WindowKeys(TMainForm& f, LiveReadoutPage& page) : QObject(&f), f_(f), page_(page) {}

protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (watched != &f_ || e->type() != QEvent::KeyPress) return false;
        const auto* k = static_cast<QKeyEvent*>(e);
        if (k->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return false;
        const int page = f_.ModeHost().MainPage();
        int key = 0;
        if (k->key() == Qt::Key_Escape && HasWayBack(modes::EscActionForPage(page))) key = modes::kKeyEscape;
        if (k->key() == Qt::Key_R && page == 2) key = modes::kKeyR;
        if (!key) return false;
        switch (page_.FormKeyDown(key)) {
        case modes::EscAction::LeaveMeasurementPage: f_.StraightnessControl().LeaveMeasurementPage(); break;
        case modes::EscAction::LeaveFlatnessPage: f_.StraightnessControl().LeaveFlatnessPage(); break;
        default: break;
        }
        return true;
    }

private:
    // The service panel has its own Esc; the start and main menu pages keep theirs out of here.
    static bool HasWayBack(modes::EscAction a) {
        switch (a) {
        case modes::EscAction::ReturnToMainMenu:
        case modes::EscAction::ReturnFromVelocity:
        case modes::EscAction::LeaveMeasurementPage:
        case modes::EscAction::LeaveFlatnessPage: return true;
        default: return false;
        }
    }
    TMainForm& f_;
    LiveReadoutPage& page_;
};

// A click on the set-up picture asks for the help on alignment.
class PictureClick final : public QObject {
public:
    PictureClick(QLabel& picture, LiveReadoutPage& page) : QObject(&picture), page_(page) {}

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() != QEvent::MouseButtonRelease || static_cast<QMouseEvent*>(e)->button() != Qt::LeftButton)
            return false;
        page_.FotoPomiaruClick();
        return true;
    }

private:
    LiveReadoutPage& page_;
};

}  // namespace

LiveReadoutPage::LiveReadoutPage(TMainForm& shell) : QObject(&shell), shell_(shell) {}

QWidget* LiveReadoutPage::Build() {
    auto* page = named(new QWidget, "Wyswietlacz");
    auto* lay = new QVBoxLayout(page);
    // The spreadsheet's glyph button at the top left of the page.
    auto* top = new QHBoxLayout;
    BitBtn1 = button(page, "BitBtn1", QStringLiteral("Arkusz"));
    BitBtn1->setToolTip(QStringLiteral("Arkusz kalkulacyjny"));
    BitBtn1->setIcon(page->style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    top->addWidget(BitBtn1);
    top->addStretch(1);
    lay->addLayout(top);
    NotebookWyswietlacz = named(new QStackedWidget(page), "NotebookWyswietlacz");
    // page 0: the readout, with the reading's signal gauge under it
    auto* readout = new QWidget;
    auto* rv = new QVBoxLayout(readout);
    auto* rl = new QHBoxLayout;
    rv->addLayout(rl, 1);
    DisplayWys = display(readout, "DisplayWys", 3, 64);
    rl->addWidget(DisplayWys, 1);
    Label2 = label(readout, "Label2", QStringLiteral("µm"));
    Label5 = label(readout, "Label5", QStringLiteral("mm/s"));
    Label5->hide();
    QFont uf = Label2->font();
    uf.setPointSize(36);
    Label2->setFont(uf);
    Label5->setFont(uf);
    rl->addWidget(Label2);
    rl->addWidget(Label5);
    Gauge1 = gauge(readout, "Gauge1");
    rv->addWidget(Gauge1);
    NotebookWyswietlacz->addWidget(readout);
    // page 1: the message
    auto* message = new QWidget;
    auto* ml = new QVBoxLayout(message);
    Label32 = label(message, "Label32", QString());
    Label32->setAlignment(Qt::AlignCenter);
    QFont mf = Label32->font();
    mf.setPointSizeF(mf.pointSizeF() * 1.6);
    mf.setBold(true);
    Label32->setFont(mf);
    ml->addWidget(Label32);
    // the signal monitor's gauge while the head warms up
    Gauge3 = gauge(message, "Gauge3");
    ml->addWidget(Gauge3);
    NotebookWyswietlacz->addWidget(message);
    lay->addWidget(NotebookWyswietlacz, 2);

    auto* row = new QHBoxLayout;
    GroupBox6 = named(new QGroupBox(QStringLiteral("Pomiar"), page), "GroupBox6");
    auto* g6 = new QVBoxLayout(GroupBox6);
    ButtonTypPomiaru = button(GroupBox6, "ButtonTypPomiaru", QStringLiteral("Dystans"));
    ButtonOs = button(GroupBox6, "ButtonOs", QStringLiteral("Oś X"));
    g6->addWidget(ButtonTypPomiaru);
    g6->addWidget(ButtonOs);
    row->addWidget(GroupBox6);
    GroupBox4 = named(new QGroupBox(QStringLiteral("Wyświetlanie"), page), "GroupBox4");
    auto* g4 = new QHBoxLayout(GroupBox4);
    SpeedButton1 = named(new QToolButton(GroupBox4), "SpeedButton1");
    SpeedButton1->setText(QStringLiteral("mm/µm"));
    SpeedButtonZnak = named(new QToolButton(GroupBox4), "SpeedButtonZnak");
    SpeedButtonZnak->setText(QStringLiteral("+"));
    UpDown2 = named(new QSpinBox(GroupBox4), "UpDown2");
    UpDown2->setRange(0, 2);
    g4->addWidget(SpeedButton1);
    g4->addWidget(SpeedButtonZnak);
    g4->addWidget(label(GroupBox4, "LabMiejsca", QStringLiteral("Miejsca po przecinku")));
    g4->addWidget(UpDown2);
    row->addWidget(GroupBox4);
    GroupBox1 = named(new QGroupBox(QStringLiteral("Justowanie"), page), "GroupBox1");
    auto* g1 = new QVBoxLayout(GroupBox1);
    CBJustowanie = named(new QCheckBox(QStringLiteral("Justowanie"), GroupBox1), "CBJustowanie");
    g1->addWidget(CBJustowanie);
    row->addWidget(GroupBox1);
    lay->addLayout(row);

    auto* buttons = new QHBoxLayout;
    ButRejestracja = button(page, "ButRejestracja", QStringLiteral("&Rejestracja"));
    ButZerowanieWyniku = button(page, "ButZerowanieWyniku", QStringLiteral("&Zerowanie"));
    Button1 = button(page, "Button1", QStringLiteral("&Główne Menu"));
    buttons->addWidget(ButRejestracja);
    buttons->addWidget(ButZerowanieWyniku);
    buttons->addStretch(1);
    buttons->addWidget(Button1);
    lay->addLayout(buttons);

    Panel6 = panel(page, "Panel6");
    Panel6->hide();
    FotoPomiaru = label(page, "FotoPomiaru", QString());
    FotoPomiaru->setAlignment(Qt::AlignCenter);
    FotoPomiaru->setMinimumHeight(120);
    FotoPomiaru->setToolTip(QString::fromUtf8("Kliknij, aby uzyskać pomoc na temat justowania. "));
    FotoPomiaru->setCursor(Qt::WhatsThisCursor);
    lay->addWidget(FotoPomiaru, 1);
    // The beam-alignment target, in place of the picture while "Justowanie" is ticked.
    chJustowanie = chart(page, "chJustowanie");
    // A square target: the two axes have the same scale.
    chJustowanie->setMinimumSize(300, 300);
    chJustowanie->setMaximumWidth(420);
    for (platform::TChartAxis* a : {&chJustowanie->LeftAxis(), &chJustowanie->BottomAxis()}) {
        a->SetAutomatic(false);
        a->SetMinimum(-alignment::kViewLimit);
        a->SetMaximum(alignment::kViewLimit);
    }
    chJustowanie->SetLegendVisible(false);
    auto line = [this](const char* name) {
        auto* s = chJustowanie->AddNewSeries<platform::TChartShape>(QString::fromLatin1(name));
        s->SetStyle(platform::TShapeStyle::Line);
        s->SetCorners(0, 0, 0, 0);
        return s;
    };
    HorBlue = line("HorBlue");
    VerBlue = line("VerBlue");
    HorRed = line("HorRed");
    VerRed = line("VerRed");
    auto spot = [this](const char* name) {
        auto* s = chJustowanie->AddNewSeries<platform::TPointSeries>(QString::fromLatin1(name));
        s->Pointer().style = platform::TPointerStyle::Circle;
        s->Pointer().horizSize = s->Pointer().vertSize = 7;
        s->AddXY(0, 0);
        return s;
    };
    PointBlue = spot("PointBlue");
    PointRed = spot("PointRed");
    chJustowanie->hide();
    lay->addWidget(chJustowanie, 1, Qt::AlignHCenter);
    return page;
}

void LiveReadoutPage::Connect() {
    connect(ButtonTypPomiaru, &QPushButton::clicked, this, &LiveReadoutPage::ButtonTypPomiaruClick);
    connect(SpeedButton1, &QToolButton::clicked, this, &LiveReadoutPage::SpeedButton1Click);
    connect(SpeedButtonZnak, &QToolButton::clicked, this, &LiveReadoutPage::SpeedButtonZnakClick);
    connect(ButtonOs, &QPushButton::clicked, this, &LiveReadoutPage::ButtonOsClick);
    connect(ButZerowanieWyniku, &QPushButton::clicked, this, &LiveReadoutPage::ButZerowanieWynikuClick);
    connect(ButRejestracja, &QPushButton::clicked, this, &LiveReadoutPage::ButRejestracjaClick);
    connect(UpDown2, &QSpinBox::valueChanged, this, [this](int) { UpDown2Click(); });
    connect(CBJustowanie, &QCheckBox::clicked, this, &LiveReadoutPage::CBJustowanieClick);
    connect(BitBtn1, &QPushButton::clicked, this, &LiveReadoutPage::BitBtn1Click);
    connect(Button1, &QPushButton::clicked, this, [this] { modes::ReturnToMainMenu(shell_.ModeHost()); });
    shell_.installEventFilter(new WindowKeys(shell_, *this));
    FotoPomiaru->installEventFilter(new PictureClick(*FotoPomiaru, *this));
}

void LiveReadoutPage::BitBtnWyswietlaczClick() { modes::BitBtnWyswietlaczClick(shell_.ModeHost()); }
void LiveReadoutPage::ButtonTypPomiaruClick() { modes::ButtonTypPomiaruClick(shell_.ModeHost()); }
void LiveReadoutPage::SpeedButton1Click() { modes::SpeedButton1Click(shell_.ModeHost()); }
void LiveReadoutPage::SpeedButtonZnakClick() { modes::SpeedButtonZnakClick(shell_.ModeHost()); }
void LiveReadoutPage::ButtonOsClick() { modes::ButtonOsClick(shell_.ModeHost()); }
void LiveReadoutPage::ButZerowanieWynikuClick() { modes::ButZerowanieWynikuClick(shell_.ModeHost()); }
void LiveReadoutPage::UpDown2Click() { modes::UpDown2Click(shell_.ModeHost()); }
void LiveReadoutPage::FotoPomiaruClick() { ShowHelpContext(kAlignmentHelpContext); }
modes::EscAction LiveReadoutPage::FormKeyDown(int virtualKey) { return modes::FormKeyDown(shell_.ModeHost(), virtualKey); }

void LiveReadoutPage::ShowReading(double value) { DisplayWys->SetValue(value); }
double LiveReadoutPage::ReadingValue() const { return DisplayWys->Value(); }
int LiveReadoutPage::ReadingPrecision() const { return DisplayWys->Precision(); }
bool LiveReadoutPage::SignPlus() const { return SpeedButtonZnak->text() == QStringLiteral("+"); }

void LiveReadoutPage::ShowReadoutGauges() {
    if (NotebookWyswietlacz->currentIndex() == 1) NotebookWyswietlacz->setCurrentIndex(0);
}

void LiveReadoutPage::SetMessage(const QString& text) { Label32->setText(text); }

void LiveReadoutPage::ShowReadoutPage(int page) {
    if (page >= 0 && page < NotebookWyswietlacz->count()) NotebookWyswietlacz->setCurrentIndex(page);
}

void LiveReadoutPage::SetReadoutDecimals(int decimals) {
    UpDown2->setMaximum(decimals);
    UpDown2->setValue(decimals);
    DisplayWys->SetPrecision(decimals);
}

bool LiveReadoutPage::AlignmentChecked() const { return CBJustowanie->isChecked(); }
void LiveReadoutPage::EnableAlignment() { CBJustowanie->setEnabled(true); }

void LiveReadoutPage::CBJustowanieClick() {
    chJustowanie->setVisible(CBJustowanie->isChecked());
    FotoPomiaru->setVisible(!CBJustowanie->isChecked());
}

void LiveReadoutPage::DrawAlignmentTarget(const alignment::Target& t) {
    using platform::colorFromWin;
    const double lim = alignment::kViewLimit;
    auto place = [lim](const alignment::Spot& s, platform::TPointSeries* point, platform::TChartShape* hor,
                       platform::TChartShape* ver) {
        point->SetXValue(0, s.x);
        point->SetYValue(0, s.y);
        point->SetSeriesColor(colorFromWin(s.color));
        hor->SetCorners(-lim, s.y, lim, s.y);
        ver->SetCorners(s.x, -lim, s.x, lim);
        for (platform::TChartShape* l : {hor, ver}) {
            l->Pen().color = colorFromWin(s.color);
            l->SetSeriesColor(colorFromWin(s.color));
        }
    };
    place(t.blue, PointBlue, HorBlue, VerBlue);
    place(t.red, PointRed, HorRed, VerRed);
    chJustowanie->update();
}

void LiveReadoutPage::BitBtn1Click() {
    const auto command = spreadsheet::FindExcelPath();
    if (!command) {
        shell_.statusBar()->showMessage(spreadsheet::NoSpreadsheetText());
        return;
    }
    if (!spreadsheet::StartProgram(*command)) {
        shell_.statusBar()->showMessage(spreadsheet::NoSpreadsheetText() + QStringLiteral(": ") + command->program);
        return;
    }
    shell_.statusBar()->showMessage(spreadsheet::NoTransferText());
}

void LiveReadoutPage::SetLengthUnitLabel(const QString& text) { Label2->setText(text); }
void LiveReadoutPage::SetVelocityUnitLabel(const QString& text) { Label5->setText(text); }

void LiveReadoutPage::ShowRunPanel(bool on) { Panel6->setVisible(on); }
void LiveReadoutPage::ButRejestracjaClick() { RunRecordingWindow(shell_.RecordingData(), &shell_); }

void LiveReadoutPage::ShowSetupPicture(const QPixmap& picture) { FotoPomiaru->setPixmap(picture); }
QWidget* LiveReadoutPage::StartPointAnchor() const { return ButRejestracja; }

WarmUpControls LiveReadoutPage::SignalWarmUpControls() const { return {Gauge3, nullptr, nullptr, Label32, ButZerowanieWyniku}; }

QObject* LiveReadoutPage::ModeControlOf(modes::ModeControl c) const {
    using C = modes::ModeControl;
    switch (c) {
    case C::SpeedButtonZnak: return SpeedButtonZnak;
    case C::UpDown2: return UpDown2;
    case C::DisplayWys: return DisplayWys;
    case C::NotebookWyswietlacz: return NotebookWyswietlacz;
    case C::CBJustowanie: return CBJustowanie;
    case C::ButtonTypPomiaru: return ButtonTypPomiaru;
    case C::Label2: return Label2;
    case C::Label5: return Label5;
    case C::FotoPomiaru: return FotoPomiaru;
    case C::ButtonOs: return ButtonOs;
    case C::ButZerowanieWyniku: return ButZerowanieWyniku;
    case C::Button1: return Button1;
    case C::Panel6: return Panel6;
    case C::Label32: return Label32;
    case C::Gauge3: return Gauge3;
    default: return nullptr;
    }
}
