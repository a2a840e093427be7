// The start picture: the product, the system and the start-up's progress.
#include "app/StartPage.h"

#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "app/PageControls.h"

using namespace pagecontrols;

StartPage::StartPage(QObject* owner) : QObject(owner) {}

QWidget* StartPage::Build() {
    Wstep = named(new QFrame, "Wstep");
    Wstep->setAutoFillBackground(true);
    QPalette p = Wstep->palette();
    p.setColor(QPalette::Window, QColor(0, 40, 100));
    p.setColor(QPalette::WindowText, Qt::white);
    Wstep->setPalette(p);
    auto* lay = new QVBoxLayout(Wstep);
    lay->addStretch(2);
    auto* product = label(Wstep, "LabWstepFirma", QStringLiteral("Veldrasta"));
    QFont f(QStringLiteral("Times New Roman"));
    f.setStyleHint(QFont::Serif);
    f.setPointSize(36);
    f.setBold(true);
    product->setFont(f);
    product->setAlignment(Qt::AlignCenter);
    auto* system = label(Wstep, "LabWstepSystem", QStringLiteral("VKM 30"));
    f.setPointSize(48);
    system->setFont(f);
    system->setAlignment(Qt::AlignCenter);
    auto* line = label(Wstep, "LabWstepOpis", QStringLiteral("Laserowy system pomiarowy obrabiarek"));
    line->setAlignment(Qt::AlignCenter);
    lay->addWidget(product);
    lay->addWidget(system);
    lay->addWidget(line);
    lay->addStretch(3);
    ProgressBar1 = named(new QProgressBar(Wstep), "ProgressBar1");
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setValue(0);
    QPalette bar = ProgressBar1->palette();
    bar.setColor(QPalette::Window, bar.color(QPalette::Button));
    ProgressBar1->setPalette(bar);
    lay->addWidget(ProgressBar1);
    return Wstep;
}

void StartPage::BeginStartupProgress() {
    ProgressBar1->setValue(0);
    if (!progressTimer_) {
        progressTimer_ = new QTimer(this);
        progressTimer_->setInterval(200);
        connect(progressTimer_, &QTimer::timeout, this, [this] {
            const int v = ProgressBar1->value();
            if (v < 95) ProgressBar1->setValue(v + std::max(1, (95 - v) / 25));
        });
    }
    progressTimer_->start();
}

void StartPage::EndStartupProgress() {
    if (progressTimer_) progressTimer_->stop();
}

void StartPage::SetProgress(int percent) { ProgressBar1->setValue(std::clamp(percent, 0, 100)); }
