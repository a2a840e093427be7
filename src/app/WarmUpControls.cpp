#include "app/WarmUpControls.h"

#include "app/ModeSequencesMainForm.h"

#include <QLabel>
#include <QProgressBar>

namespace {

void setShown(QWidget* w, bool on) {
    if (w) w->setVisible(on);
}

}  // namespace

MonitoredPage MonitoredPageOf(int mainPage) {
    switch (mainPage) {
    case 2: return MonitoredPage::Readout;
    case 3:
    case 4:
    case 5:
    case 9: return MonitoredPage::Measurement;
    case 6: return MonitoredPage::Service;
    default: return MonitoredPage::Other;
    }
}

void WarmUpControlsView::SetGaugeShown(bool on) { setShown(c_.gauge, on); }
void WarmUpControlsView::ShowGaugeLevel(int level) { ShowSignalGauge(c_.gauge, level); }
void WarmUpControlsView::SetPanelShown(bool on) { setShown(c_.hidden, on); }
void WarmUpControlsView::SetStartShown(bool on) { setShown(c_.startControl, on); }
void WarmUpControlsView::SetLabelShown(bool on) { setShown(c_.label, on); }

void WarmUpControlsView::SetLabelText(const QString& text) {
    if (auto* l = qobject_cast<QLabel*>(c_.label)) l->setText(text);
}

void WarmUpControlsView::EnableZeroing() {
    if (c_.zeroButton) c_.zeroButton->setEnabled(true);
}
