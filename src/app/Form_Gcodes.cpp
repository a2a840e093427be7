#include "app/Form_Gcodes.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <limits>

#include "app/PunktyPoz.h"
#include "evaluation/MeasurementFiles.h"
#include "foundations/MessageDlg.h"
#include "foundations/ProgramMessages.h"

namespace {

QSpinBox* spinEdit(QWidget* parent, const char* name, int min, int max, int value) {
    auto* e = new QSpinBox(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setRange(min, max);
    e->setValue(value);
    return e;
}

QLabel* label(QWidget* parent, const char* name, const QString& caption, QWidget* buddy) {
    auto* l = new QLabel(caption, parent);
    l->setObjectName(QString::fromLatin1(name));
    if (buddy) l->setBuddy(buddy);
    return l;
}

QString MethodText(int method) {
    switch (method) {
    case 0: return Msg(QStringLiteral("stLiniowa"));
    case 1: return Msg(QStringLiteral("stPielgrzym"));
    case 2: return Msg(QStringLiteral("stPielgrzym2"));
    default: return {};
    }
}

}  // namespace

TForm_Gcodes::TForm_Gcodes(int positioningMethod, QWidget* parent) : TSSForm(parent), method_(positioningMethod) {
    setObjectName(QStringLiteral("Form_Gcodes"));
    setWindowTitle(QString::fromUtf8("Generuj trasę"));
    constexpr int kMin = std::numeric_limits<int>::min(), kMax = std::numeric_limits<int>::max();

    auto* main = new QVBoxLayout(this);
    GroupBox1 = new QGroupBox(QStringLiteral("Punkt bazowy"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    auto* base = new QGridLayout(GroupBox1);
    BazaX = spinEdit(GroupBox1, "BazaX", kMin, kMax, 0);
    BazaY = spinEdit(GroupBox1, "BazaY", kMin, kMax, 0);
    BazaZ = spinEdit(GroupBox1, "BazaZ", kMin, kMax, 0);
    base->addWidget(label(GroupBox1, "Label1", QStringLiteral("X"), BazaX), 0, 0);
    base->addWidget(BazaX, 0, 1);
    base->addWidget(label(GroupBox1, "Label2", QStringLiteral("Y"), BazaY), 1, 0);
    base->addWidget(BazaY, 1, 1);
    base->addWidget(label(GroupBox1, "Label3", QStringLiteral("Z"), BazaZ), 2, 0);
    base->addWidget(BazaZ, 2, 1);
    main->addWidget(GroupBox1);

    auto* grid = new QGridLayout;
    WyborOsi = new QComboBox(this);
    WyborOsi->setObjectName(QStringLiteral("WyborOsi"));
    WyborOsi->addItems({QStringLiteral("X"), QStringLiteral("Y"), QStringLiteral("Z")});
    WyborOsi->setCurrentIndex(0);
    Krok = spinEdit(this, "Krok", kGcodeMinStep, kGcodeMaxStep, kGcodeMinStep);
    IloscPunktow = spinEdit(this, "IloscPunktow", kGcodeMinPoints, kGcodeMaxPoints, kGcodeMinPoints);
    IloscCykli = spinEdit(this, "IloscCykli", kGcodeMinCycles, kGcodeMaxCycles, kGcodeMinCycles);
    grid->addWidget(label(this, "Label4", QString::fromUtf8("Ruch w osi"), WyborOsi), 0, 0);
    grid->addWidget(WyborOsi, 0, 1);
    grid->addWidget(label(this, "Label5", QStringLiteral("Krok"), Krok), 1, 0);
    grid->addWidget(Krok, 1, 1);
    grid->addWidget(label(this, "Label6", QStringLiteral("mm"), nullptr), 1, 2);
    grid->addWidget(label(this, "Label7", QString::fromUtf8("Ilość punktów"), IloscPunktow), 2, 0);
    grid->addWidget(IloscPunktow, 2, 1);
    grid->addWidget(label(this, "Label8", QString::fromUtf8("Ilość cykli"), IloscCykli), 3, 0);
    grid->addWidget(IloscCykli, 3, 1);
    grid->addWidget(label(this, "Label9", QStringLiteral("Metoda pomiaru:"), nullptr), 4, 0);
    LabelMetPom = label(this, "LabelMetPom", QString(), nullptr);
    QFont bold = LabelMetPom->font();
    bold.setBold(true);
    LabelMetPom->setFont(bold);
    grid->addWidget(LabelMetPom, 4, 1, 1, 2);
    main->addLayout(grid);

    auto* buttons = new QHBoxLayout;
    BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(QStringLiteral("Anuluj"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    main->addLayout(buttons);
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);

    FinishCreate();
}

// After the form's texts: the pattern's name in the current language.
void TForm_Gcodes::AfterTranslate() { LabelMetPom->setText(MethodText(method_)); }

GcodeRouteInputs TForm_Gcodes::Inputs() const {
    GcodeRouteInputs in;
    in.BaseX = BazaX->value();
    in.BaseY = BazaY->value();
    in.BaseZ = BazaZ->value();
    in.Axis = WyborOsi->currentIndex();
    in.Step = Krok->value();
    in.PointCount = IloscPunktow->value();
    in.CycleCount = IloscCykli->value();
    in.Method = method_;
    return in;
}

void TForm_Gcodes::BitBtn1Click() {
    const GcodeRouteInputs in = Inputs();
    if (const QString refused = CheckGcodeRoute(in); !refused.isEmpty()) {
        MessageDlg(refused, TMsgDlgType::mtError, mbOK);
        return;
    }
    FileDialogSettings s;
    s.FileName = QStringLiteral("Gcodes.txt");
    // The root of the system drive there; here the user's home, which can be written.
    s.InitialDir = QDir::homePath();
    s.Filter = QStringLiteral("Gcodes (*.txt)|*.txt|") + Msg(QStringLiteral("stAllFiles")) + QStringLiteral(" (*.*)|*.*");
    s.FilterIndex = 1;
    s.DefaultExt = QStringLiteral(".txt");
    const auto chosen = RunFileDialog(this, s, true);
    if (!chosen) {
        reject();
        return;
    }
    QString name = *chosen;
    if (QFileInfo(name).suffix().isEmpty()) name += s.DefaultExt;
    try {
        SaveGcodeRoute(name, GcodeRouteLines(in));
    } catch (const MeasurementFileError& e) {
        MessageDlg(e.message(), TMsgDlgType::mtError, mbOK);
        return;
    }
    accept();
}
