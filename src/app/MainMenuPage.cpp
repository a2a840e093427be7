// The main menu page: the entries of the measurement types, the configuration, the end and the
// link state line.
#include "app/MainMenuPage.h"

#include <QFont>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "app/PageControls.h"
#include "foundations/MeasurementModes.h"

using namespace pagecontrols;

MainMenuPage::MainMenuPage(QObject* owner, MainMenuCalls& calls) : QObject(owner), calls_(calls) {}

QWidget* MainMenuPage::Build() {
    MenuGlowne = named(new QWidget, "MenuGlowne");
    QWidget* page = MenuGlowne;
    auto* lay = new QVBoxLayout(page);
    lay->addStretch(1);
    LabNazwaSys = label(page, "LabNazwaSys", QStringLiteral("VKM 30"));
    QFont f(QStringLiteral("Times New Roman"));
    f.setStyleHint(QFont::Serif);
    f.setPointSize(30);
    f.setBold(true);
    LabNazwaSys->setFont(f);
    LabNazwaSys->setAlignment(Qt::AlignCenter);
    lay->addWidget(LabNazwaSys);
    Image1 = label(page, "Image1", QString());
    Image1->setAlignment(Qt::AlignCenter);
    lay->addWidget(Image1);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(18);
    grid->setVerticalSpacing(14);
    BitBtnWyswietlacz = button(page, "BitBtnWyswietlacz", QStringLiteral("&Wyświetlacz"));
    BitBtnpozycjonowanie = button(page, "BitBtnpozycjonowanie", QStringLiteral("&Pozycjonowanie"));
    BitBtnpredkosc = button(page, "BitBtnpredkosc", QStringLiteral("P&rędkość"));
    BitBtnPodzKatowe = button(page, "BitBtnPodzKatowe", QStringLiteral("Podziały &kątowe"));
    BitBtnProstolinowosc = button(page, "BitBtnProstolinowosc", QStringLiteral("Prost&oliniowość"));
    BitBtnMapaPlaskosci = button(page, "BitBtnMapaPlaskosci", QStringLiteral("&Mapa płaskości"));
    BitBtnFFT = button(page, "BitBtnFFT", QStringLiteral("&Analiza drgań (FFT)"));
    BitBtnKonfiguracja = button(page, "BitBtnKonfiguracja", QStringLiteral("Ko&nfiguracja"));
    BitBtnKoniec = button(page, "BitBtnKoniec", QStringLiteral("&Koniec"));
    // Top row: the readout; then the measurement types in two rows; the end button below.
    grid->addWidget(BitBtnWyswietlacz, 0, 2);
    grid->addWidget(BitBtnpozycjonowanie, 1, 1);
    grid->addWidget(BitBtnpredkosc, 1, 2);
    grid->addWidget(BitBtnPodzKatowe, 1, 3);
    grid->addWidget(BitBtnProstolinowosc, 2, 1);
    grid->addWidget(BitBtnMapaPlaskosci, 2, 2);
    grid->addWidget(BitBtnFFT, 2, 3);
    grid->addWidget(BitBtnKonfiguracja, 3, 2);
    grid->addWidget(BitBtnKoniec, 4, 2);
    for (QPushButton* b : {BitBtnWyswietlacz, BitBtnpozycjonowanie, BitBtnpredkosc, BitBtnPodzKatowe,
                           BitBtnProstolinowosc, BitBtnMapaPlaskosci, BitBtnFFT, BitBtnKonfiguracja, BitBtnKoniec}) {
        b->setMinimumSize(220, 52);
        QFont bf = b->font();
        bf.setPointSizeF(bf.pointSizeF() * 1.25);
        b->setFont(bf);
    }
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(4, 1);
    lay->addLayout(grid);
    lay->addStretch(2);
    LabStanLacza = label(page, "LabStanLacza", QString());
    LabStanLacza->setAlignment(Qt::AlignCenter);
    lay->addWidget(LabStanLacza);
    // The state can change behind the page (a port unplugged, the card's program lost): it is
    // read again while the page shows.
    linkStateTimer_ = new QTimer(page);
    linkStateTimer_->setObjectName(QStringLiteral("LinkStateTimer"));
    linkStateTimer_->setInterval(500);
    return page;
}

void MainMenuPage::Connect() {
    connect(BitBtnWyswietlacz, &QPushButton::clicked, this, &MainMenuPage::BitBtnWyswietlaczClick);
    connect(BitBtnpozycjonowanie, &QPushButton::clicked, this, &MainMenuPage::BitBtnpozycjonowanieClick);
    connect(BitBtnpredkosc, &QPushButton::clicked, this, &MainMenuPage::BitBtnpredkoscClick);
    connect(BitBtnPodzKatowe, &QPushButton::clicked, this, &MainMenuPage::BitBtnPodzKatoweClick);
    connect(BitBtnProstolinowosc, &QPushButton::clicked, this, &MainMenuPage::BitBtnProstolinowoscClick);
    connect(BitBtnMapaPlaskosci, &QPushButton::clicked, this, &MainMenuPage::BitBtnMapaPlaskosciClick);
    connect(BitBtnFFT, &QPushButton::clicked, this, &MainMenuPage::BitBtnFFTClick);
    connect(BitBtnKonfiguracja, &QPushButton::clicked, this, &MainMenuPage::BitBtnKonfiguracjaClick);
    connect(BitBtnKoniec, &QPushButton::clicked, this, &MainMenuPage::BitBtnKoniecClick);
    // The notebook hides the pages it does not show, whether or not the window is on screen.
    connect(linkStateTimer_, &QTimer::timeout, this, [this] {
        if (MenuGlowne->isVisibleTo(MenuGlowne->window())) ShowLinkState();
    });
    linkStateTimer_->start();
}

void MainMenuPage::BitBtnWyswietlaczClick() { calls_.EnterReadout(); }
void MainMenuPage::BitBtnpozycjonowanieClick() { calls_.EnterPositioning(); }
void MainMenuPage::BitBtnpredkoscClick() { calls_.EnterVelocity(); }
void MainMenuPage::BitBtnPodzKatoweClick() { calls_.EnterAngular(); }
void MainMenuPage::BitBtnProstolinowoscClick() { calls_.EnterStraightness(); }
void MainMenuPage::BitBtnMapaPlaskosciClick() { calls_.EnterFlatness(); }
void MainMenuPage::BitBtnFFTClick() { calls_.EnterVibration(); }
void MainMenuPage::BitBtnKonfiguracjaClick() { calls_.OpenConfiguration(); }
void MainMenuPage::BitBtnKoniecClick() { calls_.DisconnectAndClose(); }

void MainMenuPage::EnterType(int mode) {
    switch (mode) {
        case kModePositioning: BitBtnpozycjonowanieClick(); break;
        case kModeVelocity: BitBtnpredkoscClick(); break;
        case kModeStraightness: BitBtnProstolinowoscClick(); break;
        case kModeFlatness: BitBtnMapaPlaskosciClick(); break;
        case kModeAngular: BitBtnPodzKatoweClick(); break;
        case kModeVibration: BitBtnFFTClick(); break;
        default: break;
    }
}

void MainMenuPage::AdjustToScreen(double k) {
    // Laid out for 640 x 480: the buttons and the system name grow with the screen; the page's
    // layout keeps them centred on wide screens.
    for (QPushButton* b : {BitBtnWyswietlacz, BitBtnpozycjonowanie, BitBtnpredkosc, BitBtnPodzKatowe,
                           BitBtnProstolinowosc, BitBtnMapaPlaskosci, BitBtnFFT, BitBtnKonfiguracja, BitBtnKoniec})
        b->setMinimumSize(int(std::lround(132 * k)), int(std::lround(31 * k)));
    QFont f = LabNazwaSys->font();
    f.setPointSize(std::max(12, int(std::lround(18 * k))));
    LabNazwaSys->setFont(f);
}

void MainMenuPage::ShowLinkState() {
    const app::LinkStateInput in = calls_.LinkState();
    LabStanLacza->setText(app::LinkStateText(in));
    QPalette p = LabStanLacza->palette();
    p.setColor(QPalette::WindowText,
               app::LinkStateIsFault(in) ? QColor(Qt::red) : MenuGlowne->palette().color(QPalette::WindowText));
    LabStanLacza->setPalette(p);
}
