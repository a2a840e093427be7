#include "app/dialogs/UWykCom.h"

#include <QHBoxLayout>
#include <algorithm>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "foundations/MessageDlg.h"

using instrument::CheckComOutcome;

namespace {

QLabel* label(QWidget* parent, const char* name, const char* text) {
    auto* l = new QLabel(QString::fromUtf8(text), parent);
    l->setObjectName(name);
    l->setWordWrap(true);
    return l;
}

QPushButton* button(QWidget* parent, const char* name, const char* text) {
    auto* b = new QPushButton(QString::fromUtf8(text), parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

QProgressBar* progress(QWidget* parent, const char* name, int max) {
    auto* p = new QProgressBar(parent);
    p->setObjectName(name);
    p->setRange(0, max);
    p->setValue(0);
    p->setTextVisible(false);
    return p;
}

// One notebook page: its texts above, the buttons at the bottom right.
QWidget* page(QStackedWidget* book, const char* name, std::initializer_list<QWidget*> body,
              std::initializer_list<QPushButton*> buttons) {
    auto* w = new QWidget(book);
    w->setObjectName(name);
    auto* lay = new QVBoxLayout(w);
    for (QWidget* b : body) {
        b->setParent(w);
        lay->addWidget(b);
    }
    lay->addStretch(1);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    for (QPushButton* b : buttons) {
        b->setParent(w);
        row->addWidget(b);
    }
    lay->addLayout(row);
    book->addWidget(w);
    return w;
}

}  // namespace

TfWykCom::TfWykCom(instrument::PortSearchThreads& threads, QWidget* parent, instrument::LoaderSpeeds speeds,
                   instrument::CheckComTimings timings)
    : TSSForm(parent), speeds_(speeds), timings_(timings), threads_(threads) {
    setObjectName("fWykCom");
    setWindowTitle(QStringLiteral("Wykrywanie portu szeregowego"));
    setModal(true);

    Notebook1 = new QStackedWidget(this);
    Notebook1->setObjectName("Notebook1");

    Label1 = label(this, "Label1", "1. Wyłącz Vkm 30");
    Label2 = label(this, "Label2", "2. Podłącz do komputera konwerter RS232 - USB");
    BitBtn2 = button(this, "BitBtn2", "Anuluj");
    BitBtn3 = button(this, "BitBtn3", "Dalej");
    page(Notebook1, "Default", {Label1, Label2}, {BitBtn2, BitBtn3});

    Label3 = label(this, "Label3", "3. Czekaj na wykrycie konwertera !!");
    Label4 = label(this, "Label4", "4. Podłącz Vkm30 do konwertera");
    Label5 = label(this, "Label5", "5. Włącz Vkm30 !!");
    ProgressBar2 = progress(this, "ProgressBar2", 20);
    BitBtn4 = button(this, "BitBtn4", "Anuluj");
    BitBtn5 = button(this, "BitBtn5", "Dalej");
    BitBtn5->setEnabled(false);
    page(Notebook1, "str2", {Label3, ProgressBar2, Label4, Label5}, {BitBtn4, BitBtn5});
    // The last two steps come once the converter had its time.
    Label4->setVisible(false);
    Label5->setVisible(false);

    Label6 = label(this, "Label6", "Wyszykiwanie portu szeregowego, do którego podłączono VKM30");
    Label7 = label(this, "Label7", "Proszę czekać!!!");
    Label7->setAlignment(Qt::AlignCenter);
    QFont bold = Label7->font();
    bold.setBold(true);
    Label7->setFont(bold);
    ProgressBar1 = progress(this, "ProgressBar1", instrument::TCheckCom::kPortCount);
    BitBtn1 = button(this, "BitBtn1", "Anuluj");
    page(Notebook1, "wykrywanie", {Label6, Label7, ProgressBar1}, {BitBtn1});

    auto* lay = new QVBoxLayout(this);
    lay->addWidget(Notebook1);

    Timer1.setObjectName("Timer1");
    Timer1.setInterval(1000);
    connect(&Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { done(mrCancel); });
    connect(BitBtn3, &QPushButton::clicked, this, [this] { BitBtn3Click(); });
    connect(BitBtn4, &QPushButton::clicked, this, [this] { done(mrCancel); });
    connect(BitBtn5, &QPushButton::clicked, this, [this] { BitBtn5Click(); });

    resize(480, 200);
    FinishCreate();
    FormCreate();
}

TfWykCom::~TfWykCom() {
    destroying_ = true;
    Timer1.stop();
    // Ends the search (waiting while events are processed, so its hand-offs still run).
    threads_.EndPortSearch(*this);
}

void TfWykCom::FormCreate() {
    ticks_ = 20;
    BitBtn5Click();
}

void TfWykCom::BitBtn5Click() {
    if (searchStarted_) return;
    searchStarted_ = true;
    Timer1.stop();
    Notebook1->setCurrentIndex(2);
    searching_ = true;
    // None starts while the program ends: the dialog closes as cancelled.
    if (!threads_.StartPortSearch(*this, speeds_, timings_)) {
        searching_ = false;
        finish(mrCancel);
    }
}

void TfWykCom::BitBtn3Click() {
    Notebook1->setCurrentIndex(1);
    ticks_ = 0;
    ProgressBar2->setValue(0);
    Timer1.start();
}

void TfWykCom::Timer1Timer() {
    if (ticks_ < 20) {
        ++ticks_;
        ProgressBar2->setValue(ticks_);
    }
    if (ticks_ >= 20) {
        Timer1.stop();
        Label4->setVisible(true);
        Label5->setVisible(true);
        BitBtn5->setEnabled(true);
    }
}

void TfWykCom::BitBtn1Click() {
    if (!Searching()) {
        finish(mrCancel);
        return;
    }
    // The try under way finishes first; SearchEnded then closes the dialog.
    threads_.AskPortSearchToEnd(*this);
    BitBtn1->setEnabled(false);
}

void TfWykCom::done(int result) {
    if (Searching()) {
        BitBtn1Click();
        return;
    }
    Timer1.stop();
    finish(result);
}

void TfWykCom::UpdateProgress(int32_t attempt) {
    if (destroying_) return;
    ProgressBar1->setValue(std::clamp<int32_t>(attempt, 0, instrument::TCheckCom::kPortCount));
}

void TfWykCom::SearchEnded(CheckComOutcome outcome, uint8_t portIndex) {
    if (destroying_) return;
    searching_ = false;
    if (outcome == CheckComOutcome::Found) portIndex_ = portIndex;
    finish(outcome == CheckComOutcome::Found      ? mrOk
           : outcome == CheckComOutcome::NotFound ? kNoPortAnswered
                                                  : mrCancel);
}

void TfWykCom::finish(int result) {
    setResult(result);
    // Closing a dialog that is not shown yet would leave its later exec() waiting for ever.
    if (!isVisible()) {
        pendingResult_ = result;
        return;
    }
    TSSForm::done(result);
}

void TfWykCom::showEvent(QShowEvent* event) {
    TSSForm::showEvent(event);
    if (pendingResult_ != 0)
        QTimer::singleShot(0, this, [this] {
            if (isVisible()) TSSForm::done(pendingResult_);
        });
}
