#include "app/SkalowanieOsi.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <climits>
#include <cmath>

#include "app/DialogParts.h"
#include "foundations/MessageDlg.h"
#include "platform/Chart.h"

namespace {

int nearestInt(double v) {
    if (!std::isfinite(v)) return 0;
    return int(std::clamp(std::nearbyint(v), double(INT_MIN), double(INT_MAX)));
}

}  // namespace

AxisScaleChoice AxisScaleOf(const platform::TChartAxis& axis) {
    AxisScaleChoice c;
    c.automatic = axis.Automatic();
    c.autoMaximum = axis.AutomaticMaximum();
    c.autoMinimum = axis.AutomaticMinimum();
    c.maximum = nearestInt(axis.Maximum());
    c.minimum = nearestInt(axis.Minimum());
    return c;
}

std::optional<QString> AxisScaleError(const AxisScaleChoice& c) {
    if (c.automatic || c.autoMaximum || c.autoMinimum || c.minimum < c.maximum) return std::nullopt;
    return TranslateString(QStringLiteral("stZlaSkalaOsi"),
                           QString::fromUtf8("Minimum osi musi być mniejsze od maksimum."));
}

void ApplyAxisScale(platform::TChartAxis& axis, const AxisScaleChoice& c) {
    axis.SetAutomatic(c.automatic);
    if (c.automatic) return;
    const double hi = c.maximum, lo = c.minimum;
    // The ends are set together: one at a time the axis would refuse a new maximum below its
    // current minimum. An automatic end gets a value on the right side of the fixed one until
    // the chart adjusts it.
    if (!c.autoMaximum && !c.autoMinimum) {
        if (lo < hi) axis.SetMinMax(lo, hi);
    } else if (!c.autoMaximum) {
        axis.SetMinMax(std::min(axis.Minimum(), hi), hi);
    } else if (!c.autoMinimum) {
        axis.SetMinMax(lo, std::max(axis.Maximum(), lo));
    }
    axis.SetAutomatic(false);
    axis.SetAutomaticMaximum(c.autoMaximum);
    axis.SetAutomaticMinimum(c.autoMinimum);
}

TFSkalowanieOsi::TFSkalowanieOsi(QWidget* parent) : TSSForm(parent) {
    setObjectName("FSkalowanieOsi");
    setWindowTitle(QStringLiteral("Skalowanie osi"));
    setProperty("HelpContext", HelpContext);
    setWindowFlags((windowFlags() | Qt::MSWindowsFixedSizeDialogHint) & ~Qt::WindowContextHelpButtonHint);

    auto* main = new QVBoxLayout(this);
    main->setContentsMargins(16, 14, 16, 12);
    main->setSpacing(10);
    auto* name = new QHBoxLayout;
    Label1 = new QLabel(QString::fromUtf8("Oś:"), this);
    Label1->setObjectName("Label1");
    Os = new QLabel(this);
    Os->setObjectName("Os");
    QFont bold = Os->font();
    bold.setBold(true);
    Os->setFont(bold);
    name->addWidget(Label1);
    name->addWidget(Os, 1);
    main->addLayout(name);

    CheckBoxAll = new QCheckBox(QStringLiteral("&Skaluj automatycznie"), this);
    CheckBoxAll->setObjectName("CheckBoxAll");
    main->addWidget(CheckBoxAll);
    auto* grid = new QGridLayout;
    grid->setColumnMinimumWidth(0, 16);
    CheckBoxMax = new QCheckBox(QStringLiteral("&Maksimum"), this);
    CheckBoxMax->setObjectName("CheckBoxMax");
    CheckBoxMin = new QCheckBox(QStringLiteral("Mi&nimum"), this);
    CheckBoxMin->setObjectName("CheckBoxMin");
    SpinMax = new QSpinBox(this);
    SpinMax->setObjectName("SpinMax");
    SpinMin = new QSpinBox(this);
    SpinMin->setObjectName("SpinMin");
    for (QSpinBox* s : {SpinMax, SpinMin}) {
        s->setRange(INT_MIN, INT_MAX);
        s->setMinimumWidth(110);
        s->setAlignment(Qt::AlignRight);
    }
    grid->addWidget(CheckBoxMax, 0, 1);
    grid->addWidget(SpinMax, 0, 2);
    grid->addWidget(CheckBoxMin, 1, 1);
    grid->addWidget(SpinMin, 1, 2);
    main->addLayout(grid);

    BitBtn1 = NamedButton(this, "BitBtn1", QStringLiteral("OK"));
    BitBtn1->setDefault(true);
    BitBtn2 = NamedButton(this, "BitBtn2", QStringLiteral("Anuluj"));
    BitBtnPomoc = NamedButton(this, "BitBtnPomoc", QStringLiteral("&Pomoc"));
    main->addLayout(ButtonRow({BitBtn1, BitBtn2, BitBtnPomoc}));
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    connect(CheckBoxAll, &QCheckBox::toggled, this, &TFSkalowanieOsi::CheckBoxAllClick);
    connect(CheckBoxMax, &QCheckBox::toggled, this, &TFSkalowanieOsi::CheckBoxMaxClick);
    connect(CheckBoxMin, &QCheckBox::toggled, this, &TFSkalowanieOsi::CheckBoxMinClick);
    connect(BitBtn1, &QPushButton::clicked, this, &TFSkalowanieOsi::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    connect(BitBtnPomoc, &QPushButton::clicked, this, &TFSkalowanieOsi::BitBtnPomocClick);
    Load(AxisScaleChoice{}, QString());
    FinishCreate();
}

void TFSkalowanieOsi::Load(const AxisScaleChoice& c, const QString& axisName) {
    Os->setText(axisName);
    CheckBoxAll->setChecked(c.automatic);
    CheckBoxAllClick();
    if (!c.automatic) {
        CheckBoxMax->setChecked(c.autoMaximum);
        CheckBoxMin->setChecked(c.autoMinimum);
    }
    CheckBoxMaxClick();
    CheckBoxMinClick();
    SpinMax->setValue(c.maximum);
    SpinMin->setValue(c.minimum);
}

AxisScaleChoice TFSkalowanieOsi::Choice() const {
    return {CheckBoxAll->isChecked(), CheckBoxMax->isChecked(), CheckBoxMin->isChecked(), SpinMax->value(),
            SpinMin->value()};
}

void TFSkalowanieOsi::CheckBoxAllClick() {
    const bool all = CheckBoxAll->isChecked();
    for (QCheckBox* b : {CheckBoxMax, CheckBoxMin}) {
        b->setChecked(all);
        b->setEnabled(!all);
    }
}

void TFSkalowanieOsi::CheckBoxMaxClick() { SpinMax->setEnabled(!CheckBoxMax->isChecked()); }
void TFSkalowanieOsi::CheckBoxMinClick() { SpinMin->setEnabled(!CheckBoxMin->isChecked()); }

void TFSkalowanieOsi::BitBtn1Click() {
    if (const auto error = AxisScaleError(Choice())) {
        MessageDlg(*error, TMsgDlgType::mtError, mbOK);
        SpinMin->setFocus();
        return;
    }
    accept();
}

void TFSkalowanieOsi::BitBtnPomocClick() { ShowHelpContext(HelpContext); }

bool EditAxisScale(platform::TChartAxis& Axis, const QString& AxisName, QWidget* parent) {
    TFSkalowanieOsi dlg(parent);
    dlg.Load(AxisScaleOf(Axis), AxisName);
    if (dlg.exec() != QDialog::Accepted) return false;
    ApplyAxisScale(Axis, dlg.Choice());
    return true;
}
