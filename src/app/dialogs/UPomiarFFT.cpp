#include "app/dialogs/UPomiarFFT.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

TFPomiarFFT* FPomiarFFT = nullptr;

namespace {

QProgressBar* gauge(QWidget* parent, const char* name, int max) {
    auto* g = new QProgressBar(parent);
    g->setObjectName(name);
    g->setRange(0, max);
    g->setValue(0);
    g->setMinimumWidth(260);
    return g;
}

QLabel* label(QWidget* parent, const char* name, const char* text) {
    auto* l = new QLabel(QString::fromUtf8(text), parent);
    l->setObjectName(name);
    return l;
}

}  // namespace

TFPomiarFFT::TFPomiarFFT(instrument::FftAcquisitionHost* host, QWidget* parent)
    : TSSForm(parent), acquisition_(host ? *host : instrument::ProgramFftAcquisitionHost()) {
    setObjectName("FPomiarFFT");
    setWindowTitle(QStringLiteral("Pomiar"));
    setAttribute(Qt::WA_DeleteOnClose);

    Label1 = label(this, "Label1", "Zapamiętane próbki:");
    Gauge1 = gauge(this, "Gauge1", instrument::FftAcquisition::kStoredMax);
    Label2 = label(this, "Label2", "Przesłane próbki:");
    Gauge2 = gauge(this, "Gauge2", instrument::FftAcquisition::kTransferredMax);
    BitBtn1 = new QPushButton(QStringLiteral("Anuluj"), this);
    BitBtn1->setObjectName("BitBtn1");
    BitBtn1->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));

    auto* grid = new QGridLayout;
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(Gauge1, 1, 0);
    grid->addWidget(Label2, 2, 0);
    grid->addWidget(Gauge2, 3, 0);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(BitBtn1);
    row->addStretch(1);
    auto* lay = new QVBoxLayout(this);
    lay->setContentsMargins(16, 12, 16, 12);
    lay->addLayout(grid);
    lay->addSpacing(8);
    lay->addLayout(row);

    Timer1.setObjectName("Timer1");
    Timer1.setInterval(instrument::FftAcquisition::kStallTickMs);
    connect(&Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });

    FPomiarFFT = this;
    FinishCreate();
}

TFPomiarFFT::~TFPomiarFFT() {
    Timer1.stop();
    acquisition_.Finish();
    if (FPomiarFFT == this) FPomiarFFT = nullptr;
}

void TFPomiarFFT::AddStoredSample() {
    if (acquisition_.SampleStored()) Timer1.start();
    Gauge1->setValue(acquisition_.Stored());
}

void TFPomiarFFT::SetTransferredSamples(int32_t index) {
    acquisition_.SetTransferred(index);
    Gauge2->setValue(acquisition_.Transferred());
}

void TFPomiarFFT::Timer1Timer() {
    if (!acquisition_.StallTick()) return;
    Timer1.stop();
    QPointer<TFPomiarFFT> self(this);
    acquisition_.host().ShowConnectionError();
    // The transfer may have ended the form while the message was shown.
    if (self) close();
}

void TFPomiarFFT::BitBtn1Click() { close(); }

void TFPomiarFFT::FormClose() {
    Timer1.stop();
    acquisition_.Finish();
    if (FPomiarFFT == this) FPomiarFFT = nullptr;
}

void TFPomiarFFT::done(int result) {
    FormClose();
    TSSForm::done(result);
}

void TFPomiarFFT::closeEvent(QCloseEvent* e) {
    // A form closed before it was shown ends the acquisition as well.
    FormClose();
    TSSForm::closeEvent(e);
}
