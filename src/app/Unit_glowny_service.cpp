// The main window's side of the service panel: what the panel reaches of the link, the threads
// and the window (ServicePanelHost), the service menus "Opcje" and "Funkcje", the key sequences
// typed anywhere on the window (FormKeyPress), Esc on the panel, and the calibration form.
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QStackedWidget>

#include "app/ModeSequences.h"
#include "app/ModeSequencesMainForm.h"
#include "app/ServicePage.h"
#include "app/ServicePanel.h"
#include "app/Unit_glowny.h"
#include "foundations/MessageDlg.h"
#include "foundations/SharedGlobals.h"
#include "instrument/LinkPort.h"
#include "instrument/SerialFrameParser.h"
#include "instrument/ThreadGeneration.h"
#include "instrument/UOdczyt.h"
#include "app/dialogs/Unit_Kalibracja.h"

namespace {
constexpr int kPageService = 6;
}

class TMainForm::ServiceCalls final : public ServicePanelHost {
public:
    explicit ServiceCalls(TMainForm& f) : f_(f) {}

    void SendCommand(uint8_t byte) override { f_.SendHeadCommand(byte); }
    uint8_t ReadPort(uint16_t port) override { return ::InPort(port); }
    bool SerialLink() const override { return instrument::SerialLinkChosen(); }
    bool ServicePageShown() const override { return f_.ServicePageShown(); }
    void SetStatusText(const QString& text) override { f_.SetLinkStatusText(text); }
    void ShowMessage(const QString& text) override { ::ShowMessage(text); }
    bool ReadingThreadRunning() override { return f_.ReadingThread().Running(); }
    void StartReadingThread() override { f_.StartReadingThread(++ReadingThreadGeneration); }
    bool MeteoThreadRunning() override { return f_.MeteoReadingRunning(); }
    void StartMeteoThread() override { f_.StartMeteoThread(); }
    bool ProgramLoaderRunning() override { return f_.Threads().LoaderRunning(); }
    void StartProgramLoader() override { f_.StartProgramLoad(); }
    bool BiosReaderRunning() override { return f_.Threads().BiosTextRunning(); }
    void StartBiosReader() override { f_.StartBiosTextRead(); }
    void DisconnectAndClose() override { f_.DisconnectAndClose(); }
    void RestartCounting() override { modes::RestartCounting(f_.ModeHost()); }
    void ShowPageBeforeService() override {
        f_.HideServiceMenus();
        f_.NotebookMainForm->setCurrentIndex(f_.SavedServicePage);
        f_.setWindowTitle(f_.SavedServiceCaption);
    }
    void OpenCalibrationForm() override { f_.kalibracja1Click(); }

private:
    TMainForm& f_;
};

namespace {

// The window previews every key typed on it or on its controls (the key still goes on to the
// control): the two key sequences, and Esc on the service panel.
class ServiceKeys final : public QObject {
public:
    explicit ServiceKeys(TMainForm& f) : QObject(&f), f_(f) {}

protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
        auto* w = static_cast<QWidget*>(watched);
        if (w->window() != &f_) return false;
        // A key travels from the focused control up to the window; it counts once, where it
        // starts.
        QWidget* focus = QApplication::focusWidget();
        const bool start = focus && f_.isAncestorOf(focus) ? w == focus : w == &f_;
        if (!start) return false;
        const auto* k = static_cast<QKeyEvent*>(e);
        if (k->key() == Qt::Key_Escape && f_.NotebookMainForm->currentIndex() == kPageService) {
            f_.LeaveServicePanel();
            return true;
        }
        if (!k->text().isEmpty()) f_.FormKeyPress(k->text().at(0));
        return false;
    }

private:
    TMainForm& f_;
};

}  // namespace

ServicePanelHost& TMainForm::ServiceHost() {
    if (!ServiceCallsHolder) ServiceCallsHolder = std::make_shared<ServiceCalls>(*this);
    return *ServiceCallsHolder;
}

QWidget* TMainForm::BuildServicePage() { return ServiceView->Build(*this); }

void TMainForm::ConnectServicePanel() {
    QMenu* options = MenuOf(QStringLiteral("Opcje1"));
    QMenu* functions = MenuOf(QStringLiteral("Funkcje1"));
    auto add = [](QMenu* m, const char* name, const char* caption, bool checkable) {
        QAction* a = m->addAction(QString::fromUtf8(caption));
        a->setObjectName(QString::fromLatin1(name));
        a->setCheckable(checkable);
        return a;
    };
    QAction* loop = add(options, "petlaprzyodczycieFLAG", "pętla przy odczycie FLAG", true);
    QAction* calibration = add(options, "kalibracja1", "Kalibracja", false);
    functions->addSection(QStringLiteral("Zeeman test"));
    QAction* zeemanOn = add(functions, "ZeemanTestON", "ON", true);
    QAction* zeemanOff = add(functions, "ZeemanTestOFF", "OFF", true);
    zeemanOff->setChecked(true);
    ServiceView->Connect(zeemanOn, zeemanOff, loop, calibration);
    qApp->installEventFilter(new ServiceKeys(*this));
}

void TMainForm::FormKeyPress(QChar key) {
    switch (KeySequences.Feed(key)) {
    case service::KeySequenceMatcher::Result::Service: EnterServicePanel(); break;
    case service::KeySequenceMatcher::Result::Calibration: kalibracja1Click(); break;
    case service::KeySequenceMatcher::Result::None: break;
    }
}

void TMainForm::LeaveServicePanel() { ServiceView->LeaveServicePanel(); }

void TMainForm::kalibracja1Click() {
    if (CalibrationForm) return;  // one form; it is modal
    TKalibracja form(this);
    CalibrationForm = &form;
    // "&Start" on the form: the environment thread shows its raw values there.
    connect(&form, &TKalibracja::meteoReadingRequested, this, [this] {
        if (!MeteoReadingRunning()) StartMeteoThread();
    });
    form.exec();
    CalibrationForm = nullptr;
}

void TMainForm::ShowCalibrationOffsets(int32_t x, int32_t y) {
    if (CalibrationForm) CalibrationForm->ShowDetectorPosition(x, y);
}

void TMainForm::ShowCalibrationCounts(const std::array<int32_t, 6>& counts) {
    if (CalibrationForm) CalibrationForm->ShowMeteoCounts(counts);
}
