#include "app/WybFormat.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "foundations/NumberFormat.h"
#include "foundations/SharedGlobals.h"

using evaluation::CompTableChoice;
using evaluation::CompTableControlsFor;

TFWybFormat::TFWybFormat(QWidget* parent) : TSSForm(parent) {
    setObjectName("FWybFormat");
    setWindowTitle("Wybierz format");

    auto* main = new QVBoxLayout(this);
    Bevel1 = new QFrame(this);
    Bevel1->setObjectName("Bevel1");
    Bevel1->setFrameShape(QFrame::Box);
    Bevel1->setFrameShadow(QFrame::Sunken);
    auto* grid = new QGridLayout(Bevel1);
    int row = 0;
    auto addRow = [&](QLabel*& label, const char* labelName, const QString& caption, QComboBox*& box,
                      const char* boxName, const QStringList& items) {
        box = new QComboBox(Bevel1);
        box->setObjectName(boxName);
        box->addItems(items);
        label = new QLabel(caption, Bevel1);
        label->setObjectName(labelName);
        label->setBuddy(box);
        grid->addWidget(label, row, 0);
        grid->addWidget(box, row, 1);
        ++row;
    };
    addRow(Label1, "Label1", "Format:", CBFormat, "CBFormat", evaluation::CompTableFormatNames());
    addRow(Label2, "Label2", "System pomiarowy:", CBSystem, "CBSystem", evaluation::CompTableSystemChars());
    addRow(Label4, "Label4", "Punkt bazowy:", CBPunktBazowy, "CBPunktBazowy", {});
    addRow(Label3, "Label3", QString::fromUtf8("Oś:"), CBOs, "CBOs", evaluation::SiemensAxisNames());
    CBPunktBazowy->setMinimumContentsLength(14);
    main->addWidget(Bevel1);

    auto* buttons = new QHBoxLayout;
    BitBtn1 = new QPushButton("OK", this);
    BitBtn1->setObjectName("BitBtn1");
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton("Anuluj", this);
    BitBtn2->setObjectName("BitBtn2");
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    main->addLayout(buttons);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    connect(CBFormat, &QComboBox::currentIndexChanged, this, [this] { CBFormatChange(); });

    CBFormat->setCurrentIndex(0);
    CBFormatChange();
    FinishCreate();
}

void TFWybFormat::CBFormatChange() {
    const evaluation::CompTableControls c = CompTableControlsFor(CBFormat->currentIndex());
    CBSystem->setEnabled(c.System);
    Label2->setEnabled(c.System);
    CBPunktBazowy->setEnabled(c.BasePoint);
    Label4->setEnabled(c.BasePoint);
    CBOs->setEnabled(c.Axis);
    Label3->setEnabled(c.Axis);
    if (!c.AxisItems.isEmpty()) {
        CBOs->clear();
        CBOs->addItems(c.AxisItems);
        CBOs->setCurrentIndex(0);
    }
}

void TFWybFormat::LoadChoice(const CompTableChoice& remembered, const TPunkt& Points) {
    const CompTableChoice c = evaluation::CompTableDialogPreset(remembered, Points.Count());
    CBFormat->setCurrentIndex(c.Format);
    CBFormatChange();
    CBPunktBazowy->clear();
    for (int i = 0; i < Points.Count(); ++i)
        CBPunktBazowy->addItem(
            evaluation::BasePointItemText(i, Points[i].Dystans, LengthUnit, foundations::systemDecimalSeparator()));
    CBPunktBazowy->setCurrentIndex(c.BasePoint);
    CBSystem->setCurrentIndex(c.System);
    CBOs->setCurrentIndex(c.Axis);
}

CompTableChoice TFWybFormat::Choice() const {
    CompTableChoice c;
    c.Format = uint8_t(CBFormat->currentIndex());
    c.System = uint8_t(CBSystem->currentIndex());
    c.Axis = uint8_t(CBOs->currentIndex());
    c.BasePoint = CBPunktBazowy->currentIndex();
    return c;
}

uint8_t ChooseCompensationFormat(CompTableChoice& choice, const TPunkt& Points, QWidget* parent) {
    TFWybFormat dlg(parent);
    dlg.LoadChoice(choice, Points);
    if (dlg.exec() != QDialog::Accepted) {
        choice.Format = evaluation::ctfNone;
        return choice.Format;
    }
    choice = dlg.Choice();
    return choice.Format;
}
