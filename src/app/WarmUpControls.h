#pragma once
// A waiting page's controls that the signal monitor's samples show the warm-up on, and the view
// the monitor changes them through. A page without one of them leaves it null.
#include "instrument/OdczytSygnaluPomiarowego.h"

class QProgressBar;
class QWidget;

struct WarmUpControls {
    QProgressBar* gauge = nullptr;      // the page's signal gauge, hidden while warming up (display page: shown)
    QWidget* hidden = nullptr;          // a panel hidden while warming up
    QWidget* startControl = nullptr;    // the start button, hidden until the head is ready
    QWidget* label = nullptr;           // the warm-up or head-off text
    QWidget* zeroButton = nullptr;      // display page: zeroing, enabled once the head is ready
};

// The signal monitor's view of a NotebookMainForm page: 2 the live readout, 3 linear, 4
// velocity, 5 angular and 9 vibration wait for the head, 6 is the service panel.
MonitoredPage MonitoredPageOf(int mainPage);

class WarmUpControlsView final : public IWarmUpView {
public:
    WarmUpControlsView() = default;
    explicit WarmUpControlsView(const WarmUpControls& c) : c_(c) {}

    void SetGaugeShown(bool on) override;
    void ShowGaugeLevel(int level) override;
    void SetPanelShown(bool on) override;
    void SetStartShown(bool on) override;
    void SetLabelShown(bool on) override;
    void SetLabelText(const QString& text) override;
    void EnableZeroing() override;

private:
    WarmUpControls c_;
};
