#include "app/CoRysowac.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>
#include <cstring>

#include "app/DialogParts.h"
#include "platform/Chart.h"

const std::vector<CharacteristicCheck>& CharacteristicChecks() {
    static const std::vector<CharacteristicCheck> checks{
        {"CBXa", "Średnia", "W przód", "SredniaWPrzod", ""},
        {"CBXr", "Średnia", "W tył", "SredniaWTyl", ""},
        {"CBXar", "Średnia", "Dwukierunkowa", "SredniaDwukier", ""},
        {"CBSga", "Średnia +/- 3 sigma", "W przód", "SredniaPp3Sigma", "SredniaPm3Sigma"},
        {"CBSgr", "Średnia +/- 3 sigma", "W tył", "SredniaTp3Sigma", "SredniaTm3Sigma"},
        {"CBSgar", "Średnia +/- 3 sigma", "Dwukierunkowa", "SredniaDp3Sigma", "SredniaDm3Sigma"},
        {"CBPomiaryWPrzod", "Pomiary", "W przód", "PomiaryWPrzod", ""},
        {"CBPomiaryWTyl", "Pomiary", "W tył", "PomiaryWTyl", ""},
        {"CBLuzZwrotny", "Pomiary", "Luz zwrotny", "LuzZwrotny", ""},
        {"cbSredniaVDI", "VDI 3441", "Średnia", "SredniaVDI", ""},
        {"cbXpmA", "VDI 3441", "X+/-A", "SredniaVDIpA", "SredniaVDImA"},
        {"cbXpmU", "VDI 3441", "X+/-U", "SredniaVDIpU", "SredniaVDImU"},
    };
    return checks;
}

bool CharacteristicShown(const platform::TChart& chart, const CharacteristicCheck& check) {
    const platform::TChartSeries* s = chart.SeriesByName(QString::fromLatin1(check.series));
    return s && s->Active();
}

void ShowCharacteristic(platform::TChart& chart, const CharacteristicCheck& check, bool on) {
    for (const char* name : {check.series, check.paired}) {
        if (!*name) continue;
        if (platform::TChartSeries* s = chart.SeriesByName(QString::fromLatin1(name))) s->SetActive(on);
    }
}

TFCoRysowac::TFCoRysowac(QWidget* parent) : TSSForm(parent) {
    setObjectName("FCoRysowac");
    setWindowTitle(QStringLiteral("Parametry"));
    setProperty("HelpContext", HelpContext);

    auto* main = new QVBoxLayout(this);
    auto* groups = new QGridLayout;
    QGroupBox** groupFields[] = {&GroupBox1, &GroupBox2, &GroupBox3, &GroupBox4};
    QCheckBox** boxFields[] = {&CBXa,           &CBXr,          &CBXar,        &CBSga,  &CBSgr,  &CBSgar,
                               &CBPomiaryWPrzod, &CBPomiaryWTyl, &CBLuzZwrotny, &cbSredniaVDI, &cbXpmA, &cbXpmU};
    int g = -1;
    const char* lastGroup = "";
    QVBoxLayout* inGroup = nullptr;
    int i = 0;
    for (const CharacteristicCheck& c : CharacteristicChecks()) {
        if (std::strcmp(c.group, lastGroup) != 0) {
            lastGroup = c.group;
            ++g;
            QGroupBox* box = new QGroupBox(QString::fromUtf8(c.group), this);
            box->setObjectName(QStringLiteral("GroupBox%1").arg(g + 1));
            *groupFields[g] = box;
            inGroup = new QVBoxLayout(box);
            groups->addWidget(box, g / 2, g % 2);
        }
        auto* cb = new QCheckBox(QString::fromUtf8(c.caption), *groupFields[g]);
        cb->setObjectName(QString::fromLatin1(c.box));
        inGroup->addWidget(cb);
        *boxFields[i++] = cb;
        boxes_.push_back(cb);
    }
    for (QGroupBox* box : {GroupBox1, GroupBox2, GroupBox3, GroupBox4})
        static_cast<QVBoxLayout*>(box->layout())->addStretch();
    main->addLayout(groups);

    auto* all = new QHBoxLayout;
    Button1 = NamedButton(this, "Button1", QString::fromUtf8("&Włącz wszystkie"));
    Button2 = NamedButton(this, "Button2", QString::fromUtf8("W&yłącz wszystkie"));
    all->addWidget(Button1);
    all->addWidget(Button2);
    all->addStretch();
    main->addLayout(all);

    BitBtn1 = NamedButton(this, "BitBtn1", QStringLiteral("&Ok"));
    BitBtn1->setDefault(true);
    BitBtn2 = NamedButton(this, "BitBtn2", QStringLiteral("Anuluj"));
    ButtonPomoc = NamedButton(this, "ButtonPomoc", QStringLiteral("&Pomoc"));
    main->addLayout(ButtonRow({BitBtn1, BitBtn2, ButtonPomoc}));

    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(Button1); });
    connect(Button2, &QPushButton::clicked, this, [this] { Button1Click(Button2); });
    connect(ButtonPomoc, &QPushButton::clicked, this, &TFCoRysowac::ButtonPomocClick);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    FinishCreate();
}

QCheckBox* TFCoRysowac::Box(const char* name) const {
    for (QCheckBox* cb : boxes_)
        if (cb->objectName() == QLatin1String(name)) return cb;
    return nullptr;
}

void TFCoRysowac::ReadChart(const platform::TChart& chart) {
    const auto& checks = CharacteristicChecks();
    for (size_t i = 0; i < checks.size(); ++i) boxes_[i]->setChecked(CharacteristicShown(chart, checks[i]));
}

void TFCoRysowac::ApplyToChart(platform::TChart& chart) const {
    const auto& checks = CharacteristicChecks();
    for (size_t i = 0; i < checks.size(); ++i) ShowCharacteristic(chart, checks[i], boxes_[i]->isChecked());
}

void TFCoRysowac::Button1Click(QObject* Sender) {
    for (QCheckBox* cb : findChildren<QCheckBox*>()) cb->setChecked(Sender == Button1);
}

void TFCoRysowac::ButtonPomocClick() { ShowHelpContext(HelpContext); }

bool TFCoRysowac::SetChecks(platform::TChart& chart, QWidget* parent) {
    TFCoRysowac dlg(parent);
    dlg.ReadChart(chart);
    if (dlg.exec() != QDialog::Accepted) return false;
    dlg.ApplyToChart(chart);
    return true;
}
