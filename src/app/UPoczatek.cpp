#include "app/UPoczatek.h"

#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QVBoxLayout>

namespace {
QFrame* bevel(QWidget* parent, const char* name) {
    auto* f = new QFrame(parent);
    f->setObjectName(name);
    f->setFrameShape(QFrame::HLine);
    f->setFrameShadow(QFrame::Sunken);
    return f;
}
QLabel* label(QWidget* parent, const char* name, const QString& text) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setAlignment(Qt::AlignCenter);
    return l;
}
}  // namespace

TPoczatekForm::TPoczatekForm(QWidget* parent) : TSSForm(parent) {
    setObjectName("PoczatekForm");
    setWindowTitle(QStringLiteral("VKM30"));
    setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
    setModal(false);

    auto* lay = new QVBoxLayout(this);
    lay->setContentsMargins(24, 18, 24, 18);
    Image1 = label(this, "Image1", QString());
    Image1->setMinimumHeight(8);
    Bevel1 = bevel(this, "Bevel1");
    Label1 = label(this, "Label1", QStringLiteral("Ładowanie programu..."));
    Bevel2 = bevel(this, "Bevel2");
    Label2 = label(this, "Label2", QStringLiteral("Laserowy system pomiarowy obrabiarek"));
    QFont small = Label2->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    Label2->setFont(small);
    Label3 = label(this, "Label3", QStringLiteral("Veldrasta"));
    QFont times(QStringLiteral("Times New Roman"));
    times.setStyleHint(QFont::Serif);
    times.setPointSize(22);
    times.setBold(true);
    Label3->setFont(times);
    LabNazwaSys = label(this, "LabNazwaSys", QStringLiteral("VKM 30"));
    times.setPointSize(28);
    LabNazwaSys->setFont(times);
    for (QWidget* w : {static_cast<QWidget*>(Image1), static_cast<QWidget*>(Bevel1), static_cast<QWidget*>(Label1),
                       static_cast<QWidget*>(Bevel2), static_cast<QWidget*>(Label2), static_cast<QWidget*>(Label3),
                       static_cast<QWidget*>(LabNazwaSys)})
        lay->addWidget(w);
    resize(420, 260);
    FormCreate();
    FinishCreate();
}
