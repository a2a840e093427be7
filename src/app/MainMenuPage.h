#pragma once
// The main menu page ("MenuGlowne", page 1) of the main window. It owns the page's controls (the
// system name LabNazwaSys, the picture Image1, the buttons of the readout and of the six
// measurement types, "Ko&nfiguracja", "&Koniec" and the link state line LabStanLacza), builds
// them, scales them to the screen, and holds the buttons' handlers, which go to the window
// through MainMenuCalls. The link state line is read again while the page shows.
#include <QObject>

#include "app/LinkState.h"

class QLabel;
class QPushButton;
class QTimer;
class QWidget;

// What the main menu page asks of the window.
class MainMenuCalls {
public:
    virtual ~MainMenuCalls() = default;
    // The entries of the live readout and of the measurement types: each opens its page.
    virtual void EnterReadout() = 0;
    virtual void EnterPositioning() = 0;
    virtual void EnterVelocity() = 0;
    virtual void EnterAngular() = 0;
    virtual void EnterStraightness() = 0;
    virtual void EnterFlatness() = 0;
    virtual void EnterVibration() = 0;
    // The configuration, opened on its "Interfejs" page.
    virtual void OpenConfiguration() = 0;
    // The serial link closed (when open) and the window closed, after its question.
    virtual void DisconnectAndClose() = 0;
    // What the link state line is made from.
    virtual app::LinkStateInput LinkState() = 0;
};

class MainMenuPage final : public QObject {
public:
    MainMenuPage(QObject* owner, MainMenuCalls& calls);

    QWidget* Build();
    void Connect();

    // --- handlers ---
    void BitBtnWyswietlaczClick();
    void BitBtnpozycjonowanieClick();
    void BitBtnpredkoscClick();
    void BitBtnPodzKatoweClick();
    void BitBtnProstolinowoscClick();
    void BitBtnMapaPlaskosciClick();
    void BitBtnFFTClick();
    void BitBtnKonfiguracjaClick();
    void BitBtnKoniecClick();

    // The entry of a measurement type (kModePositioning .. kModeVibration) as its button gives;
    // nothing for another number.
    void EnterType(int mode);
    // The buttons' least size and the system name's font by the screen's scale factor.
    void AdjustToScreen(double scale);
    // LabStanLacza from the link's current state, red for a fault.
    void ShowLinkState();

private:
    MainMenuCalls& calls_;
    QWidget* MenuGlowne = nullptr;
    QLabel* LabNazwaSys = nullptr;
    QLabel* Image1 = nullptr;
    QPushButton* BitBtnWyswietlacz = nullptr;
    QPushButton* BitBtnpozycjonowanie = nullptr;
    QPushButton* BitBtnpredkosc = nullptr;
    QPushButton* BitBtnPodzKatowe = nullptr;
    QPushButton* BitBtnProstolinowosc = nullptr;
    QPushButton* BitBtnMapaPlaskosci = nullptr;
    QPushButton* BitBtnFFT = nullptr;
    QPushButton* BitBtnKonfiguracja = nullptr;
    QPushButton* BitBtnKoniec = nullptr;
    QLabel* LabStanLacza = nullptr;
    QTimer* linkStateTimer_ = nullptr;
};
