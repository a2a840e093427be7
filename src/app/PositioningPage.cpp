// The positioning and straightness page: its charts, readouts, deviation table, results panel,
// the run's button pages and the status bar.
#include "app/PositioningPage.h"

#include <algorithm>

#include <QComboBox>
#include <QEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QListWidget>
#include <QStyle>
#include <QTimer>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/ColumnFit.h"
#include "app/PageControls.h"
#include "app/PositioningRun.h"
#include "app/RunCommands.h"
#include "foundations/ProgramMessages.h"
#include "foundations/SharedGlobals.h"
#include "instrument/OdczytSygnaluPomiarowego.h"
#include "app/WarmUpControls.h"
#include "app/ModeSequences.h"
#include "foundations/Display.h"
#include "foundations/HeadList.h"
#include "platform/Chart.h"

using namespace pagecontrols;

namespace {

constexpr int kResultsButtonPage = 2;
constexpr int kSideMinimum = 240;

void enableIf(QWidget* w, bool on) {
    if (w) w->setEnabled(on);
}

// A resize of the watched chart places the prompts again.
class ResizeWatch : public QObject {
public:
    ResizeWatch(QObject* parent, std::function<void()> onResize, bool alsoShowHide = false)
        : QObject(parent), onResize_(std::move(onResize)), alsoShowHide_(alsoShowHide) {}
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::Resize || (alsoShowHide_ && (e->type() == QEvent::Show || e->type() == QEvent::Hide)))
            onResize_();
        return QObject::eventFilter(watched, e);
    }

private:
    std::function<void()> onResize_;
    bool alsoShowHide_;
};

}  // namespace

PositioningPage::PositioningPage(QObject* owner, PositioningPageCalls& calls) : QObject(owner), calls_(calls) {}

QWidget* PositioningPage::Build() {
    auto* page = named(new QWidget, "Pozycjonowanie");
    auto* lay = new QVBoxLayout(page);
    auto* top = new QHBoxLayout;

    PanelWykresyProsto = named(new QWidget(page), "PanelWykresyProsto");
    auto* charts = new QVBoxLayout(PanelWykresyProsto);
    charts->setContentsMargins(0, 0, 0, 0);
    wykres = chart(PanelWykresyProsto, "wykres");
    wykres->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(wykres, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { calls_.ChartMenuRequested(wykres->mapToGlobal(pos)); });
    WykresOsY = chart(PanelWykresyProsto, "WykresOsY");
    WykresOsY->hide();
    charts->addWidget(wykres, 1);
    charts->addWidget(WykresOsY, 1);
    top->addWidget(PanelWykresyProsto, 3);

    auto* side = new QVBoxLayout;
    // A readout panel: its caption above its display.
    auto readout = [page](QFrame*& box, const char* boxName, const char* captionName, const QString& caption,
                          TDisplay*& display_, const char* displayName, int decimals) {
        box = panel(page, boxName);
        auto* l = new QVBoxLayout(box);
        l->addWidget(label(box, captionName, caption));
        display_ = display(box, displayName, decimals);
        l->addWidget(display_);
        return l;
    };
    readout(PanelWarMierzona, "PanelWarMierzona", "LabWarMierzona", QStringLiteral("Wartość mierzona"),
            DispWarMierzona, "DispWarMierzona", 3);
    readout(PanelWarZadana, "PanelWarZadana", "LabWarZadana", QStringLiteral("Wartość zadana"), DispWarZadana,
            "DispWarZadana", 3);
    readout(PanelWarProsto, "PanelWarProsto", "LabWarProsto", QStringLiteral("Odchyłka"), DisplayProst,
            "DisplayProst", 2);
    readout(PanelWarProstoY, "PanelWarProstoY", "LabWarProstoY", QStringLiteral("Odchyłka Y"), DispProstoY,
            "DispProstoY", 2);
    auto* p2 = readout(Panel2OsWar, "Panel2OsWar", "LabPanel2OsWar", QStringLiteral("Położenie"), Disp2oswar,
                       "Disp2oswar", 3);
    Label38 = label(Panel2OsWar, "Label38", QStringLiteral("mm"));
    p2->addWidget(Label38);
    for (QFrame* f : {PanelWarProsto, PanelWarProstoY, Panel2OsWar}) f->hide();
    GaugePozycjonowanie = gauge(page, "GaugePozycjonowanie");
    GaugeProsto = gauge(page, "GaugeProsto");
    GaugeProsto->hide();
    GridOdchylka = deviationGrid(page, "GridOdchylka");
    LabelLuzZwrotny = label(page, "LabelLuzZwrotny", QString());
    LabBladProsY = label(page, "LabBladProsY", QString());
    LabZal = label(page, "LabZal", QString());
    LabOkno = label(page, "LabOkno", QString());
    Label26 = label(page, "Label26", QString());
    BRozdziel = button(page, "BRozdziel", QStringLiteral("Rozdzielczość 100 nm"));
    for (QWidget* w : std::initializer_list<QWidget*>{PanelWarMierzona, PanelWarZadana, PanelWarProsto, PanelWarProstoY,
                                                      Panel2OsWar, GaugePozycjonowanie, GaugeProsto, LabZal, LabOkno,
                                                      Label26, GridOdchylka, BRozdziel})
        side->addWidget(w);
    side->addWidget(LabelLuzZwrotny);
    side->addWidget(LabBladProsY);
    side->setStretchFactor(GridOdchylka, 1);

    PanelWyniki = panel(page, "PanelWyniki");
    auto* pw = new QVBoxLayout(PanelWyniki);
    ComboBoxNorma = named(new QComboBox(PanelWyniki), "ComboBoxNorma");
    ComboBoxNorma->addItems({"NMTBA", "ISO 230-2", "VDI/DGQ 3441", "BSI BS 4656 P16", "PN - 81/M-55551.32-3",
                             "JIS B-6330-1980"});
    CBMaszyna = named(new QComboBox(PanelWyniki), "CBMaszyna");
    CBMaszyna->setEditable(true);
    ListboxWyniki = named(new THeaderListbox(PanelWyniki), "ListboxWyniki");
    ListboxWyniki->SetSections({THeaderSection{QStringLiteral("Parametr"), 100},
                                THeaderSection{QString(), 50},
                                THeaderSection{QStringLiteral("Wartość"), 50}});
    ListboxWyniki->setMinimumHeight(200);
    ListboxWyniki->installEventFilter(new ResizeWatch(ListboxWyniki, [this] { FitResultsColumns(); }));
    pw->addWidget(label(PanelWyniki, "LabNorma", QStringLiteral("Norma")));
    pw->addWidget(ComboBoxNorma);
    pw->addWidget(label(PanelWyniki, "LabMaszyna", QStringLiteral("Maszyna")));
    pw->addWidget(CBMaszyna);
    pw->addWidget(ListboxWyniki, 1);
    PanelWyniki->hide();
    side->addWidget(PanelWyniki, 1);
    // While neither the deviation table nor the results show (a run, the review), the room left
    // goes below the readouts rather than into gaps between them.
    side->addStretch(0);

    auto* sideBox = SideBox = new QWidget(page);
    sideBox->setLayout(side);
    // On a small screen the chart takes the room the readouts do not need; the results, while
    // they show, get the room their columns need.
    sideBox->setMinimumWidth(kSideMinimum);
    PanelWyniki->installEventFilter(new ResizeWatch(PanelWyniki, [this] { FitSideToResults(); }, true));
    sideBox->setMaximumWidth(330);
    top->addWidget(sideBox, 1);
    lay->addLayout(top, 1);

    // The run's buttons, one page per state of the run.
    NotebookButton = named(new QStackedWidget(page), "NotebookButton");
    NotebookButton->setMaximumHeight(70);
    auto row = [this](const char* name) {
        auto* w = named(new QWidget, name);
        auto* l = new QHBoxLayout(w);
        l->setContentsMargins(0, 0, 0, 0);
        NotebookButton->addWidget(w);
        return std::pair{w, l};
    };
    {
        auto [w, l] = row("Pomiar");
        ButtonPozStart = button(w, "ButtonPozStart", QStringLiteral("&Start"));
        ButtonZaliczeniepunktu = button(w, "ButtonZaliczeniepunktu", QStringLiteral("&Zaliczenie punktu"));
        ButtonZaliczeniepunktu->hide();
        ProgressBar2 = named(new QProgressBar(w), "ProgressBar2");
        ProgressBar2->setRange(10, 150);
        ProgressBar2->setTextVisible(false);
        ScrollBar16 = named(new QScrollBar(Qt::Horizontal, w), "ScrollBar16");
        ScrollBar16->setRange(10, 150);
        ScrollBar16->setSingleStep(5);
        ScrollBar16->setValue(70);
        ScrollBar16->setMinimumWidth(150);
        Label139 = label(w, "Label139", QString());
        for (QWidget* x : std::initializer_list<QWidget*>{ProgressBar2, ScrollBar16, Label139}) x->hide();
        ButtonPozMainMenu = button(w, "ButtonPozMainMenu", QStringLiteral("&Główne Menu"));
        l->addWidget(ButtonPozStart);
        l->addWidget(ButtonZaliczeniepunktu);
        l->addWidget(ProgressBar2);
        l->addWidget(ScrollBar16);
        l->addWidget(Label139);
        l->addStretch(1);
        l->addWidget(ButtonPozMainMenu);
    }
    {
        auto [w, l] = row("Przegladanie");
        ButtonPozPoprzedni = button(w, "ButtonPozPoprzedni", QStringLiteral("<<"));
        ButtonPozPoprzedni->setToolTip(QStringLiteral("Poprzedni cykl"));
        ButtonPozNastepny = button(w, "ButtonPozNastepny", QStringLiteral(">>"));
        ButtonPozNastepny->setToolTip(QStringLiteral("Następny cykl"));
        ButtonPozUsun = button(w, "ButtonPozUsun", QStringLiteral("&Usuń"));
        ButtonPozWstaw = button(w, "ButtonPozWstaw", QStringLiteral("&Dodaj"));
        ButtonPozRaport = button(w, "ButtonPozRaport", QStringLiteral("&Raport"));
        ButtonPozPoprzednie = button(w, "ButtonPozPoprzednie", QStringLiteral("&Pomiar"));
        for (QPushButton* b : {ButtonPozPoprzedni, ButtonPozNastepny, ButtonPozUsun, ButtonPozWstaw, ButtonPozRaport})
            l->addWidget(b);
        l->addStretch(1);
        l->addWidget(ButtonPozPoprzednie);
    }
    {
        auto [w, l] = row("Wyniki");
        ButtonRaportPoprzednie = button(w, "ButtonRaportPoprzednie", QStringLiteral("P&oprzednie Menu"));
        ButtonKresParametry = button(w, "ButtonKresParametry", QStringLiteral("Kreślone parametry"));
        l->addWidget(ButtonKresParametry);
        l->addStretch(1);
        l->addWidget(ButtonRaportPoprzednie);
    }
    {
        auto [w, l] = row("Zakonczenie");
        ZakonczeniePozNastepny = button(w, "ZakonczeniePozNastepny", QStringLiteral("&Następny"));
        ZakonczeniePozPowtorz = button(w, "ZakonczeniePozPowtorz", QStringLiteral("&Powtórz"));
        ZakonczeniePozPrzegladaj = button(w, "ZakonczeniePozPrzegladaj", QStringLiteral("Prz&eglądaj"));
        ZakonczeniePozRaport = button(w, "ZakonczeniePozRaport", QStringLiteral("&Raport"));
        ZakonczeniePozKoniec = button(w, "ZakonczeniePozKoniec", QStringLiteral("&Koniec"));
        for (QPushButton* b : {ZakonczeniePozNastepny, ZakonczeniePozPowtorz, ZakonczeniePozPrzegladaj,
                               ZakonczeniePozRaport})
            l->addWidget(b);
        l->addStretch(1);
        l->addWidget(ZakonczeniePozKoniec);
    }
    lay->addWidget(NotebookButton);
    StatusBar1 = panelStatusBar(page, "StatusBar1", 5);
    lay->addWidget(StatusBar1);
    BuildPrompts();

    TimerZaliczeniePunktu = new QTimer(this);
    TimerZaliczeniePunktu->setObjectName(QStringLiteral("TimerZaliczeniePunktu"));
    TimerZaliczeniePunktu->setInterval(100);
    TimerProstoliniowosc1 = new QTimer(this);
    TimerProstoliniowosc1->setObjectName(QStringLiteral("TimerProstoliniowosc1"));
    TimerProstoliniowosc1->setInterval(500);
    return page;
}

void PositioningPage::FitResultsColumns() {
    THeaderListbox* list = ListboxWyniki;
    if (!list || list->SectionCount() != 3) return;
    // A cell is drawn 6 px short of its section's right edge; a few pixels more keep the text
    // off the next column.
    constexpr int kCellSpare = 6 + 6;
    const QFontMetrics rows(list->listBox()->font());
    const QFontMetrics heads(list->header()->font());
    std::array<int, 3> needed{};
    for (int c = 0; c < 3; ++c)
        needed[size_t(c)] = heads.horizontalAdvance(list->Sections()[c].text) + 2 * kCellSpare;
    for (int i = 0; i < list->Count(); ++i) {
        const QStringList fields = THeaderListbox::SplitRow(list->Item(i), list->DelimChar(), 3);
        for (int c = 0; c < 3; ++c)
            needed[size_t(c)] = std::max(needed[size_t(c)], rows.horizontalAdvance(fields[c].trimmed()) + kCellSpare);
    }
    const int scrollBar = list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list);
    list->setMinimumWidth(needed[0] + needed[1] + needed[2] + scrollBar + 2 * list->listBox()->frameWidth());
    FitSideToResults();
    const std::array<int, 3> w = ResultsListColumnWidths(list->listBox()->viewport()->width(), needed);
    for (int c = 0; c < 3; ++c)
        if (list->SectionWidth(c) != w[size_t(c)]) list->SetSectionWidth(c, w[size_t(c)]);
}

void PositioningPage::FitSideToResults() {
    if (!SideBox || !PanelWyniki) return;
    const QMargins m = SideBox->layout() ? SideBox->layout()->contentsMargins() : QMargins();
    const int results = PanelWyniki->isVisibleTo(SideBox) ? PanelWyniki->minimumSizeHint().width() + m.left() + m.right() : 0;
    SideBox->setMinimumWidth(std::max(kSideMinimum, std::min(results, SideBox->maximumWidth())));
}

void PositioningPage::BuildPrompts() {
    // The two prompts of a straightness run lie over the chart, one just above and one just
    // below its middle (placed when a run starts and whenever the chart changes its size).
    QFont f = wykres->font();
    f.setPointSizeF(f.pointSizeF() * 1.5);
    f.setBold(true);
    Label124 = label(wykres, "Label124", QString());
    Label20 = label(wykres, "Label20", QString());
    for (QLabel* l : {Label124, Label20}) {
        l->setFont(f);
        l->setAlignment(Qt::AlignCenter);
        l->setWordWrap(true);  // a long prompt takes two lines rather than losing its ends
        l->setAttribute(Qt::WA_TransparentForMouseEvents);
        l->hide();
    }
    QPalette pal = Label124->palette();
    pal.setColor(QPalette::WindowText, QColor(0, 0, 160));
    Label124->setPalette(pal);
    pal.setColor(QPalette::WindowText, QColor(160, 0, 0));
    Label20->setPalette(pal);
    // The unit of the straightness reading (angle or deflection), under its display.
    LabelJedProsto = label(Panel2OsWar, "LabelJedProsto", QStringLiteral("µm"));
    LabelJedProsto->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    if (QLayout* l = Panel2OsWar->layout()) l->addWidget(LabelJedProsto);
}

void PositioningPage::Connect() {
    auto onClick = [this](QPushButton* b, void (PositioningPage::*handler)()) {
        connect(b, &QPushButton::clicked, this, [this, handler] { (this->*handler)(); });
    };
    onClick(ButtonPozStart, &PositioningPage::ButtonPozStartClick);
    onClick(ButtonPozMainMenu, &PositioningPage::ButtonPozMainMenuClick);
    onClick(ButtonZaliczeniepunktu, &PositioningPage::ButtonZaliczeniePunktuClick);
    onClick(ZakonczeniePozNastepny, &PositioningPage::ZakonczeniePozNastepnyClick);
    onClick(ZakonczeniePozPowtorz, &PositioningPage::ZakonczeniePozPowtorzClick);
    onClick(ZakonczeniePozPrzegladaj, &PositioningPage::ZakonczeniePozPrzegladajClick);
    onClick(ZakonczeniePozRaport, &PositioningPage::ZakonczeniePozRaportClick);
    onClick(ZakonczeniePozKoniec, &PositioningPage::ZakonczeniePozKoniecClick);
    onClick(ButtonPozNastepny, &PositioningPage::ButtonPozNastepnyClick);
    onClick(ButtonPozPoprzedni, &PositioningPage::ButtonPozPoprzedniClick);
    onClick(ButtonPozUsun, &PositioningPage::ButtonPozUsunClick);
    onClick(ButtonPozWstaw, &PositioningPage::ButtonPozWstawClick);
    onClick(ButtonPozPoprzednie, &PositioningPage::ButtonPozPoprzednieClick);
    onClick(ButtonRaportPoprzednie, &PositioningPage::ButtonRaportPoprzednieClick);
    onClick(ButtonPozRaport, &PositioningPage::ButtonPozRaportClick);
    onClick(ButtonKresParametry, &PositioningPage::ButtonKresParametryClick);
    onClick(BRozdziel, &PositioningPage::BRozdzielClick);
    connect(ComboBoxNorma, &QComboBox::currentIndexChanged, this, [this] { ComboBoxNormaChange(); });
    connect(CBMaszyna, &QComboBox::currentTextChanged, this, [this] { ComboBoxNormaChange(); });
    connect(ScrollBar16, &QScrollBar::valueChanged, this, [this] { ScrollBar16Change(); });
    ScrollBar16Change();
    connect(TimerZaliczeniePunktu, &QTimer::timeout, this, [this] { TimerZaliczeniePunktuTimer(); });
    connect(TimerProstoliniowosc1, &QTimer::timeout, this, [this] { TimerProstoliniowosc1Timer(); });
    wykres->installEventFilter(new ResizeWatch(wykres, [this] { PlacePrompts(); }));
}

// --- the run's buttons ---

void PositioningPage::ButtonPozStartClick() { calls_.StartOrStop(); }
void PositioningPage::ButtonPozMainMenuClick() { calls_.LeaveMeasurementPage(); }
void PositioningPage::ButtonZaliczeniePunktuClick() { calls_.AcceptPoint(); }

void PositioningPage::RunStep(void (PositioningRun::*step)()) {
    PositioningRun& run = calls_.Run();
    (run.*step)();
    ShowRunButtons(run);
}

void PositioningPage::ZakonczeniePozNastepnyClick() { RunStep(&PositioningRun::ZakonczeniePozNastepnyClick); }
void PositioningPage::ZakonczeniePozPowtorzClick() { RunStep(&PositioningRun::ZakonczeniePozPowtorzClick); }
void PositioningPage::ZakonczeniePozPrzegladajClick() { RunStep(&PositioningRun::ZakonczeniePozPrzegladajClick); }
void PositioningPage::ZakonczeniePozRaportClick() { RunStep(&PositioningRun::ZakonczeniePozRaportClick); }
void PositioningPage::ZakonczeniePozKoniecClick() { RunStep(&PositioningRun::ZakonczeniePozKoniecClick); }
void PositioningPage::ButtonPozNastepnyClick() { RunStep(&PositioningRun::ButtonPozNastepnyClick); }
void PositioningPage::ButtonPozPoprzedniClick() { RunStep(&PositioningRun::ButtonPozPoprzedniClick); }
void PositioningPage::ButtonPozUsunClick() { RunStep(&PositioningRun::ButtonPozUsunClick); }
void PositioningPage::ButtonPozWstawClick() { RunStep(&PositioningRun::ButtonPozWstawClick); }
void PositioningPage::ButtonPozPoprzednieClick() { RunStep(&PositioningRun::ButtonPozPoprzednieClick); }
void PositioningPage::ButtonRaportPoprzednieClick() { RunStep(&PositioningRun::ButtonRaportPoprzednieClick); }

void PositioningPage::ButtonPozRaportClick() { calls_.ShowResults(); }
void PositioningPage::ButtonKresParametryClick() { calls_.ChooseCharacteristics(); }
void PositioningPage::BRozdzielClick() { calls_.ToggleResolution(); }
void PositioningPage::ComboBoxNormaChange() { calls_.FillResults(); }

void PositioningPage::ShowRunButtons(const PositioningRun& run) {
    enableIf(ZakonczeniePozNastepny, run.EndPage.next);
    enableIf(ZakonczeniePozPowtorz, run.EndPage.repeat);
    enableIf(ZakonczeniePozPrzegladaj, run.EndPage.review);
    enableIf(ZakonczeniePozRaport, run.EndPage.results);
    enableIf(ButtonPozUsun, run.DeleteEnabled);
}

// --- acceptance on a straightness line ---

void PositioningPage::ScrollBar16Change() {
    ProgressBar2->setValue(ScrollBar16->value());
    Label139->setText(runcontrol::WaitingTimeCaption(ScrollBar16->value()));
}

void PositioningPage::TimerZaliczeniePunktuTimer() {
    const runcontrol::AcceptWaitStep s = runcontrol::AcceptWaitTick(AcceptWaitTicks, ScrollBar16->value());
    ProgressBar2->setValue(s.progress);
    if (s.accept) {
        calls_.AcceptPoint();
        TimerZaliczeniePunktu->stop();
    }
}

void PositioningPage::TimerProstoliniowosc1Timer() {
    const runcontrol::MoveHintStep s =
        runcontrol::MoveHintTick(MoveHintTicks, calls_.AutomaticAccept(), calls_.AcceptedPointCount());
    if (s.startAcceptTimer) TimerZaliczeniePunktu->start();
    if (s.prompt) {
        PlacePrompts();
        Label20->show();
        Label124->setText(s.acceptText);
        Label20->setText(s.moveText);
    }
    if (s.stopTimer) TimerProstoliniowosc1->stop();
}

void PositioningPage::StartMoveHint() {
    TimerZaliczeniePunktu->stop();
    AcceptWaitTicks = 0;
    MoveHintTicks = 0;
    TimerProstoliniowosc1->start();
}

void PositioningPage::SetAcceptTimerEnabled(bool on) {
    if (on)
        TimerZaliczeniePunktu->start();
    else
        TimerZaliczeniePunktu->stop();
}

void PositioningPage::SetMoveTimerEnabled(bool on) {
    if (on)
        TimerProstoliniowosc1->start();
    else
        TimerProstoliniowosc1->stop();
}

bool PositioningPage::AcceptTimerActive() const { return TimerZaliczeniePunktu->isActive(); }
bool PositioningPage::MoveTimerActive() const { return TimerProstoliniowosc1->isActive(); }

void PositioningPage::PlacePrompts() {
    const int w = wykres->width();
    const int mid = wykres->height() / 2;
    const int upper = std::max(Label124->sizeHint().height(), Label124->heightForWidth(w));
    const int lower = std::max(Label20->sizeHint().height(), Label20->heightForWidth(w));
    Label124->setGeometry(0, mid - upper - 2, w, upper);
    Label20->setGeometry(0, mid + 2, w, lower);
}

void PositioningPage::ShowUpperPrompt(const QString& text) {
    Label124->setText(text);
    Label20->hide();
    PlacePrompts();
    Label124->show();
}

// --- the chart's x axis ---

void PositioningPage::ChooseXAxis(bool byDistance) {
    calls_.TickXAxisChoice(byDistance);
    if (MeasurementRunning) return;
    wykres->BottomAxis().SetTitle(
        byDistance ? Msg("stOdleglosc") + (LengthUnit == 1 ? QStringLiteral(" [ in ]") : QStringLiteral(" [ mm ]"))
                   : Msg("stNrPunktu"));
    wykres->BottomAxis().SetWholeNumberTicks(!byDistance);
    if (NotebookButton->currentIndex() == kResultsButtonPage) {
        // Only the x values change: the statistics and the inspector's choice of lines stay.
        if (!byDistance || calls_.CycleCount() > 0) calls_.RedrawResults();
    } else {
        calls_.RedrawCurrentCycle();
    }
}

void PositioningPage::Numerpunktu1Click() { ChooseXAxis(false); }
void PositioningPage::Dystans1Click() { ChooseXAxis(true); }

// --- what the mode sequences and the signal monitor act on ---

WarmUpControls PositioningPage::SignalWarmUpControls() const {
    return {GaugeProsto, PanelWarProsto, ButtonPozStart, Label26, nullptr};
}

QObject* PositioningPage::ModeControlOf(modes::ModeControl c) const {
    using C = modes::ModeControl;
    switch (c) {
    case C::DispWarZadana: return DispWarZadana;
    case C::PanelWarMierzona: return PanelWarMierzona;
    case C::PanelWarZadana: return PanelWarZadana;
    case C::GridOdchylka: return GridOdchylka;
    case C::GaugeProsto: return GaugeProsto;
    case C::PanelWarProsto: return PanelWarProsto;
    case C::PanelWarProstoY: return PanelWarProstoY;
    case C::Panel2OsWar: return Panel2OsWar;
    case C::ButtonPozStart: return ButtonPozStart;
    case C::Label26: return Label26;
    case C::ButtonZaliczeniepunktu: return ButtonZaliczeniepunktu;
    case C::ProgressBar2: return ProgressBar2;
    case C::ScrollBar16: return ScrollBar16;
    case C::Label139: return Label139;
    default: return nullptr;
    }
}
