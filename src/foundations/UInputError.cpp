#include "foundations/UInputError.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "foundations/NumberFormat.h"
#include "foundations/RealSpinEdit.h"

TFInputError::TFInputError(QWidget* parent) : TSSForm(parent) {
    setObjectName("FInputError");
    setWindowTitle(QStringLiteral("Wprowadź"));
    setWindowFlags((windowFlags() | Qt::MSWindowsFixedSizeDialogHint) & ~Qt::WindowContextHelpButtonHint);

    Label1 = new QLabel(QStringLiteral("Podaj wartość zadaną!"), this);
    Label1->setObjectName("Label1");
    Label1->setAlignment(Qt::AlignCenter);
    RealSpinEdit1 = new TRealSpinEdit(this);
    RealSpinEdit1->setObjectName("RealSpinEdit1");
    RealSpinEdit1->SetMinus(false);
    RealSpinEdit1->SetIncrement(1.0);
    RealSpinEdit1->SetPrecision(3);
    RealSpinEdit1->installEventFilter(this);
    Label2 = new QLabel(QStringLiteral("mm"), this);
    Label2->setObjectName("Label2");
    BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
    BitBtn1->setObjectName("BitBtn1");
    BitBtn1->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);

    auto* lay = new QVBoxLayout(this);
    lay->addWidget(Label1);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(RealSpinEdit1);
    row->addWidget(Label2);
    row->addStretch();
    lay->addLayout(row);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addStretch();
    lay->addLayout(buttons);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    FinishCreate();
}

bool TFInputError::eventFilter(QObject* watched, QEvent* event) {
    if (watched == RealSpinEdit1 && event->type() == QEvent::FocusIn) {
        // After the edit's own selection: select the three decimals so typing replaces them.
        QTimer::singleShot(0, RealSpinEdit1, [e = RealSpinEdit1] {
            const QString t = e->text();
            const int sep = t.indexOf(foundations::systemDecimalSeparator());
            e->setSelection(sep >= 0 ? sep + 1 : 0, 3);
        });
    }
    return TSSForm::eventFilter(watched, event);
}

double TFInputError::EditValue(double value, QWidget* parent) {
    TFInputError dlg(parent);
    dlg.RealSpinEdit1->SetValue(value);
    dlg.RealSpinEdit1->setFocus();
    if (dlg.exec() == QDialog::Accepted) return dlg.RealSpinEdit1->Value();
    return value;
}
