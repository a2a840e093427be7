// The positioning and straightness page: its charts, readouts, deviation table, results panel,
// the run's button pages and the status bar.
#include "app/PositioningPage.h"

#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/PageControls.h"
#include "foundations/Display.h"
#include "foundations/HeadList.h"
#include "platform/Chart.h"

using namespace pagecontrols;

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
    PanelWarMierzona = panel(page, "PanelWarMierzona");
    auto* pm = new QVBoxLayout(PanelWarMierzona);
    pm->addWidget(label(PanelWarMierzona, "LabWarMierzona", QStringLiteral("Wartość mierzona")));
    DispWarMierzona = display(PanelWarMierzona, "DispWarMierzona", 3);
    pm->addWidget(DispWarMierzona);
    PanelWarZadana = panel(page, "PanelWarZadana");
    auto* pz = new QVBoxLayout(PanelWarZadana);
    pz->addWidget(label(PanelWarZadana, "LabWarZadana", QStringLiteral("Wartość zadana")));
    DispWarZadana = display(PanelWarZadana, "DispWarZadana", 3);
    pz->addWidget(DispWarZadana);
    PanelWarProsto = panel(page, "PanelWarProsto");
    auto* ps = new QVBoxLayout(PanelWarProsto);
    ps->addWidget(label(PanelWarProsto, "LabWarProsto", QStringLiteral("Odchyłka")));
    DisplayProst = display(PanelWarProsto, "DisplayProst", 2);
    ps->addWidget(DisplayProst);
    PanelWarProstoY = panel(page, "PanelWarProstoY");
    auto* psy = new QVBoxLayout(PanelWarProstoY);
    psy->addWidget(label(PanelWarProstoY, "LabWarProstoY", QStringLiteral("Odchyłka Y")));
    DispProstoY = display(PanelWarProstoY, "DispProstoY", 2);
    psy->addWidget(DispProstoY);
    Panel2OsWar = panel(page, "Panel2OsWar");
    auto* p2 = new QVBoxLayout(Panel2OsWar);
    p2->addWidget(label(Panel2OsWar, "LabPanel2OsWar", QStringLiteral("Położenie")));
    Disp2oswar = display(Panel2OsWar, "Disp2oswar", 3);
    p2->addWidget(Disp2oswar);
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
    ListboxWyniki->setMinimumSize(300, 200);
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

    auto* sideBox = new QWidget(page);
    sideBox->setLayout(side);
    sideBox->setFixedWidth(330);
    top->addWidget(sideBox);
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
    return page;
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
