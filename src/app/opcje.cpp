#include "app/opcje.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <climits>
#include <cmath>

#include "app/DialogParts.h"
#include "app/Settings.h"
#include "app/WyborKatalogu.h"
#include "foundations/MessageDlg.h"
#include "foundations/ProgramMessages.h"
#include "foundations/RadioGroup.h"
#include "foundations/RealSpinEdit.h"
#include "foundations/SharedGlobals.h"
#include "foundations/Transl.h"
#include "app/dialogs/UWykCom.h"
#include "platform/AppPaths.h"
#include "platform/Registry.h"

OptionsDialogHost::~OptionsDialogHost() = default;

int32_t SamplesFromSeconds(double seconds) {
    if (!std::isfinite(seconds)) return 0;
    return int32_t(std::clamp(std::nearbyint(seconds * 25.0), double(INT32_MIN), double(INT32_MAX)));
}

double SecondsFromSamples(int32_t samples) { return samples * 0.04; }

TOptionsValues OptionsFromSettings(const TSettings& s, double referenceTemperature, int32_t lengthUnit) {
    TOptionsValues v;
    v.positioningDir = s.PositioningDir;
    v.flatnessDir = s.FlatnessDir;
    v.straightnessDir = s.StraightnessDir;
    v.velocityDir = s.VelocityDir;
    v.angularDir = s.AngularDir;
    v.fftDir = s.FftDir;
    v.pointDistance = s.PointDistance;
    v.vibration = s.Vibration;
    v.pointTime = SecondsFromSamples(s.PointNumber);
    v.cycleCount = s.CycleCount;
    v.errorWindow = s.ErrorWindow;
    v.errorWindowPK = s.ErrorWindowPK;
    v.vibrationPK = s.VibrationPK;
    v.pointTimePK = SecondsFromSamples(s.PointNumberPK);
    v.comPort = s.ComPortIndex;
    v.straightnessMethod = s.StraightnessMethod;
    v.statisticsMethod = s.StatisticsMethod;
    v.rotationDirection = s.RotationDirection;
    v.velocityUnit = s.VelocityChartUnit;
    // Another stored pattern leaves the window's own choice, the linear one.
    v.positioningMethod = s.PositioningMethod <= 2 ? s.PositioningMethod : 0;
    v.uniDirectional = s.UniDirectional;
    v.flatnessGrid = s.FlatnessMethod != 0;
    v.flatnessHLines = s.FlatnessHLines;
    v.flatnessVLines = s.FlatnessVLines;
    v.straightnessPointCount = s.StraightnessPointCount;
    v.humidityFromSensor = s.HumidityFromSensor;
    v.pressureFromSensor = s.PressureFromSensor;
    v.airTempFromSensor = s.AirTempFromSensor;
    v.materialTempFromSensor = s.MaterialTempFromSensor;
    v.referenceTemperatureC = referenceTemperature;
    v.temperatureUnit = s.TemperatureUnit;
    v.pressureUnit = s.PressureUnit;
    v.lengthUnit = lengthUnit;
    v.systemXY = s.SystemXY;
    v.posAndStr = s.SystemXY && s.PosAndStr;
    return v;
}

void StoreOptionsFirst(const TOptionsValues& v, TSettings& s) {
    s.PositioningDir = v.positioningDir;
    s.FlatnessDir = v.flatnessDir;
    s.StraightnessDir = v.straightnessDir;
    s.VelocityDir = v.velocityDir;
    s.AngularDir = v.angularDir;
    s.FftDir = v.fftDir;
    s.PointDistance = v.pointDistance;
    s.Vibration = v.vibration;
    s.PointNumber = SamplesFromSeconds(v.pointTime);
    s.CycleCount = v.cycleCount;
    s.ErrorWindow = v.errorWindow;
    // The open link keeps its port; the new one is used at the next connection.
    s.ComPortIndex = v.comPort;
    s.StraightnessMethod = uint8_t(v.straightnessMethod);
    s.StatisticsMethod = uint8_t(v.statisticsMethod);
    s.RotationDirection = uint8_t(v.rotationDirection);
    s.ErrorWindowPK = v.errorWindowPK;
    s.VibrationPK = v.vibrationPK;
    s.PointNumberPK = SamplesFromSeconds(v.pointTimePK);
    s.VelocityChartUnit = uint8_t(v.velocityUnit);
    s.PositioningMethod = uint8_t(v.positioningMethod == 0 ? 0 : v.positioningMethod == 1 ? 1 : 2);
    s.UniDirectional = v.uniDirectional;
    s.FlatnessMethod = v.flatnessGrid ? 1 : 0;
    s.FlatnessHLines = v.flatnessHLines;
    s.FlatnessVLines = v.flatnessVLines;
}

void StoreOptionsRest(const TOptionsValues& v, TSettings& s, double& referenceTemperature, int32_t& lengthUnit) {
    s.StraightnessPointCount = v.straightnessPointCount;
    s.HumidityFromSensor = v.humidityFromSensor;
    s.PressureFromSensor = v.pressureFromSensor;
    s.AirTempFromSensor = v.airTempFromSensor;
    s.MaterialTempFromSensor = v.materialTempFromSensor;
    s.PosAndStr = v.systemXY && v.posAndStr;
    s.TemperatureUnit = uint8_t(v.temperatureUnit);
    s.PressureUnit = uint8_t(v.pressureUnit);
    referenceTemperature = v.referenceTemperatureC;
    lengthUnit = v.lengthUnit;
}

OptionsPage OptionsFirstPage(bool fromBitButton, int mode) {
    if (fromBitButton) return OptionsPage::Interfejs;
    switch (mode) {
    case 0: return OptionsPage::Pozycjonowanie;
    case 2: return OptionsPage::Prostoliniowosc;
    case 3: return OptionsPage::Mapa;
    case 4: return OptionsPage::PodzialyKatowe;
    case 5: return OptionsPage::TSFFT;
    default: return OptionsPage::Predkosc;  // mode 1 and the page the window is laid out on
    }
}

PortDetectionOutcome PortDetectionResult(int modalResult, int portIndex) {
    PortDetectionOutcome o;
    if (modalResult == mrOk) {
        o.portIndex = portIndex;
        o.message = Msg(QStringLiteral("stWykCom")) + QString::number(portIndex + 1);
    } else if (modalResult == TfWykCom::kNoPortAnswered) {
        o.message = Msg(QStringLiteral("stNWykCom")) + QStringLiteral("\n\r") + Msg(QStringLiteral("stSprPol"));
    }
    return o;
}

// ---- the window ---------------------------------------------------------------------------

namespace {

template <class W>
W* named(W* w, const char* name) {
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

QSpinBox* spin(QWidget* parent, const char* name, int lo, int hi, int step = 1) {
    auto* s = named(new QSpinBox(parent), name);
    s->setRange(lo, hi);
    s->setSingleStep(step);
    s->setAlignment(Qt::AlignRight);
    s->setMinimumWidth(90);
    s->setMaximumWidth(140);
    return s;
}

TRealSpinEdit* realSpin(QWidget* parent, const char* name, double lo, double hi, double step, int decimals) {
    auto* s = named(new TRealSpinEdit(parent), name);
    s->SetMinValue(lo);
    s->SetMaxValue(hi);
    s->SetIncrement(step);
    s->SetPrecision(decimals);
    s->setAlignment(Qt::AlignRight);
    s->setMinimumWidth(90);
    s->setMaximumWidth(140);
    return s;
}

TRadioGroup* radio(QWidget* parent, const char* name, const QString& caption, const QStringList& items) {
    return named(new TRadioGroup(caption, items, parent), name);
}

QToolButton* speedButton(QWidget* parent, const char* name, const QString& caption, QButtonGroup* group) {
    auto* b = named(new QToolButton(parent), name);
    b->setText(caption);
    b->setCheckable(true);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    b->setMinimumWidth(100);
    group->addButton(b);
    return b;
}

// A folder edit with its browse button, in a group of its own.
QGroupBox* folderRow(QWidget* parent, QLineEdit*& edit, const char* editName, QPushButton*& button,
                     const char* buttonName) {
    auto* box = new QGroupBox(QStringLiteral("Katalog z pomiarami"), parent);
    box->setObjectName(QStringLiteral("GroupBox") + QString::fromLatin1(editName));
    auto* row = new QHBoxLayout(box);
    edit = named(new QLineEdit(box), editName);
    edit->setMinimumWidth(300);
    button = NamedButton(box, buttonName, QStringLiteral("&Przeglądaj..."));
    row->addWidget(edit, 1);
    row->addWidget(button);
    return box;
}

QWidget* page(QTabWidget* tabs, const char* name, const QString& caption) {
    auto* w = named(new QWidget(tabs), name);
    tabs->addTab(w, caption);
    // F1 on a page opens the help on its settings; the dialog's own context covers the rest.
    static const std::pair<const char*, int> pageHelp[] = {
        {"Pozycjonowanie", 114}, {"Predkosc", 115}, {"Prostoliniowosc", 115}, {"Mapa", 116},
        {"PodzialyKatowe", 116}, {"TSFFT", 117},    {"tsMeteo", 117},
    };
    for (const auto& [page, context] : pageHelp)
        if (qstrcmp(name, page) == 0) w->setProperty("HelpContext", context);
    return w;
}

}  // namespace

TFOpcje::TFOpcje(instrument::PortSearchThreads& portSearch, QWidget* parent, instrument::LoaderSpeeds speeds)
    : TSSForm(parent), speeds_(speeds), portSearch_(portSearch) {
    setObjectName("FOpcje");
    setWindowTitle(QStringLiteral("Konfiguracja"));
    setProperty("HelpContext", HelpContext);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    auto* main = new QVBoxLayout(this);
    PageControl1 = named(new QTabWidget(this), "PageControl1");
    PageControl1->setUsesScrollButtons(false);
    main->addWidget(PageControl1, 1);

    {  // Interfejs
        QWidget* p = page(PageControl1, "Interfejs", QStringLiteral("Interfejs"));
        auto* g = new QGridLayout(p);
        QStringList ports;
        for (int i = 1; i <= 9; ++i) ports << QStringLiteral("Com &%1").arg(i);
        ports << QStringLiteral("Com 1&0");
        RadioGroupCom = radio(p, "RadioGroupCom", QStringLiteral(" Port szeregowy "), ports);
        RadioGroupCom->SetColumns(2);
        bWykCom = NamedButton(p, "bWykCom", QStringLiteral("Wykryj Port"));
        RGJezyk = radio(p, "RGJezyk", QString::fromUtf8("Język"), {});
        rgUnit = radio(p, "rgUnit", QString::fromUtf8("Jednostka główna"), {QStringLiteral("mm"), QStringLiteral("inch")});
        g->addWidget(RadioGroupCom, 0, 0, 2, 1);
        g->addWidget(bWykCom, 2, 0, Qt::AlignLeft);
        g->addWidget(RGJezyk, 0, 1);
        g->addWidget(rgUnit, 1, 1);
        g->setRowStretch(3, 1);
        g->setColumnStretch(2, 1);
    }
    {  // Pozycjonowanie
        QWidget* p = page(PageControl1, "Pozycjonowanie", QStringLiteral("Pozycjonowanie"));
        auto* v = new QVBoxLayout(p);
        auto* top = new QHBoxLayout;
        auto* box = named(new QGroupBox(QStringLiteral("Zaliczanie punktu"), p), "GroupBoxZaliczanie");
        auto* f = new QGridLayout(box);
        SpinEditOdstep = spin(box, "SpinEditOdstep", 10, 400, 10);
        SpinEditDrgania = spin(box, "SpinEditDrgania", 1, 200);
        PointTimeEdit = realSpin(box, "PointTimeEdit", 0.1, 20.0, 0.5, 3);
        SpinEditDopBlad = spin(box, "SpinEditDopBlad", 100, 5000, 100);
        SpinEditLiczbaCykli = spin(box, "SpinEditLiczbaCykli", 2, 10);
        // Each caption and unit label is named after its edit, so the language file reaches it.
        struct Row { const char* caption; QWidget* edit; const char* unit; };
        const Row rows[] = {
            {"&Minimalny odstęp między punktami:", SpinEditOdstep, "µm"},
            {"Dr&gania mniejsze niż:", SpinEditDrgania, "µm"},
            {"&Zaliczenie punktu po około:", PointTimeEdit, "sek."},
            {"Dopuszczlny &błąd:", SpinEditDopBlad, "µm"},
            {"Liczba cykli w &serii:", SpinEditLiczbaCykli, ""},
        };
        int r = 0;
        for (const Row& row : rows) {
            auto* l = new QLabel(QString::fromUtf8(row.caption), box);
            l->setObjectName(QStringLiteral("Label") + row.edit->objectName());
            l->setBuddy(row.edit);
            f->addWidget(l, r, 0);
            f->addWidget(row.edit, r, 1);
            auto* unit = new QLabel(QString::fromUtf8(row.unit), box);
            unit->setObjectName(QStringLiteral("Unit") + row.edit->objectName());
            f->addWidget(unit, r, 2);
            ++r;
        }
        ButtonDom = NamedButton(box, "ButtonDom", QStringLiteral("&Domyślne"));
        f->addWidget(ButtonDom, r, 1);
        top->addWidget(box);

        auto* pattern = named(new QGroupBox(QStringLiteral("Metoda pomiaru"), p), "GroupBoxMetoda");
        auto* pv = new QVBoxLayout(pattern);
        auto* methods = new QButtonGroup(this);
        SBLiniowa = speedButton(pattern, "SBLiniowa", QStringLiteral("Liniowa"), methods);
        SBPielgrzym = speedButton(pattern, "SBPielgrzym", QStringLiteral("Pielgrzym 1"), methods);
        SBPielgrzymJS = speedButton(pattern, "SBPielgrzymJS", QStringLiteral("Pielgrzym 2"), methods);
        SBLiniowa->setChecked(true);
        for (QToolButton* b : {SBLiniowa, SBPielgrzym, SBPielgrzymJS}) pv->addWidget(b);
        cbJednostronny = named(new QCheckBox(QStringLiteral("Pomiary tylko w przód"), pattern), "cbJednostronny");
        pv->addWidget(cbJednostronny);
        pv->addStretch();
        top->addWidget(pattern);
        v->addLayout(top);
        cbPozycIProsto = named(new QCheckBox(QString::fromUtf8("Jednoczesny pomiar pozycjonowania i prostoliniowości"), p),
                               "cbPozycIProsto");
        cbPozycIProsto->setVisible(false);
        cbPozycIProsto->setEnabled(false);
        v->addWidget(cbPozycIProsto);
        v->addWidget(folderRow(p, EditKatPoz, "EditKatPoz", PrzegladPoz, "PrzegladPoz"));
        v->addStretch();
    }
    {  // Predkosc
        QWidget* p = page(PageControl1, "Predkosc", QString::fromUtf8("Prędkość"));
        auto* v = new QVBoxLayout(p);
        VelUnit = radio(p, "VelUnit", QStringLiteral("Jednostka"),
                        {QStringLiteral("mm/s"), QStringLiteral("m/s"), QStringLiteral("m/min"), QStringLiteral("mm/min"),
                         QStringLiteral("in/s"), QStringLiteral("in/min")});
        VelUnit->SetColumns(2);
        v->addWidget(VelUnit);
        v->addWidget(folderRow(p, EditKatPredkosc, "EditKatPredkosc", PrzegladPred, "PrzegladPred"));
        v->addStretch();
    }
    {  // Prostoliniowosc
        QWidget* p = page(PageControl1, "Prostoliniowosc", QString::fromUtf8("Prostoliniowość"));
        auto* v = new QVBoxLayout(p);
        auto* top = new QHBoxLayout;
        RadioGroupMetoda = radio(p, "RadioGroupMetoda", QStringLiteral("Metoda pomiaru"),
                                 {QString::fromUtf8("&Kątowa"), QString::fromUtf8("&Uchyleń"), QStringLiteral("&3 D")});
        RadioGroupStatystyka = radio(p, "RadioGroupStatystyka", QStringLiteral("Rodzaj statystyki"),
                                     {QString::fromUtf8("Metoda &punktów końcowych"),
                                      QString::fromUtf8("Metoda &najmniejszych kwadratów"), QStringLiteral("&Brak")});
        top->addWidget(RadioGroupMetoda);
        top->addWidget(RadioGroupStatystyka);
        v->addLayout(top);
        auto* row = new QHBoxLayout;
        MSELPunkt = spin(p, "MSELPunkt", 3, 200);
        row->addWidget(named(new QLabel(QString::fromUtf8("Liczba punktów przy pomiarze automatycznym:"), p), "LabelMSELPunkt"));
        row->addWidget(MSELPunkt);
        row->addStretch();
        v->addLayout(row);
        v->addWidget(folderRow(p, EditKatProst, "EditKatProst", PrzegladProst, "PrzegladProst"));
        v->addStretch();
    }
    {  // Mapa
        QWidget* p = page(PageControl1, "Mapa", QString::fromUtf8("Mapa płaskości"));
        auto* v = new QVBoxLayout(p);
        auto* box = named(new QGroupBox(QStringLiteral("Metoda pomiaru"), p), "GroupBoxMetodaMapa");
        auto* g = new QGridLayout(box);
        auto* methods = new QButtonGroup(this);
        SBKoperta = speedButton(box, "SBKoperta", QStringLiteral("&Koperta"), methods);
        SBSiatka = speedButton(box, "SBSiatka", QStringLiteral("&Siatka"), methods);
        SBKoperta->setChecked(true);
        LabPozime = named(new QLabel(QStringLiteral("Liczba osi poziomych:"), box), "LabPozime");
        LabPionowe = named(new QLabel(QStringLiteral("Liczba osi pionowych"), box), "LabPionowe");
        SELiczbaPozimych = spin(box, "SELiczbaPozimych", 3, 8);
        SELiczbaPinowych = spin(box, "SELiczbaPinowych", 3, 8);
        g->addWidget(SBKoperta, 0, 0);
        g->addWidget(SBSiatka, 1, 0);
        g->addWidget(LabPozime, 1, 1);
        g->addWidget(SELiczbaPozimych, 1, 2);
        g->addWidget(LabPionowe, 2, 1);
        g->addWidget(SELiczbaPinowych, 2, 2);
        g->setColumnStretch(3, 1);
        v->addWidget(box);
        v->addWidget(folderRow(p, EditKatPlas, "EditKatPlas", PrzegladPlas, "PrzegladPlas"));
        v->addStretch();
        SBKopertaClick();  // the line counts are laid out disabled
    }
    {  // PodzialyKatowe
        QWidget* p = page(PageControl1, "PodzialyKatowe", QString::fromUtf8("Podziały Kątowe"));
        auto* v = new QVBoxLayout(p);
        auto* top = new QHBoxLayout;
        RadioGroupKierunekObrotu = radio(p, "RadioGroupKierunekObrotu", QStringLiteral("Kierunek obrotu"),
                                         {QStringLiteral("&Lewo"), QStringLiteral("&Prawo")});
        top->addWidget(RadioGroupKierunekObrotu);
        auto* box = named(new QGroupBox(QStringLiteral("Zaliczanie punktu"), p), "GroupBoxZaliczaniePK");
        auto* f = new QGridLayout(box);
        SEDopDladPK = spin(box, "SEDopDladPK", 1, 3600);
        SEDrganiaPK = spin(box, "SEDrganiaPK", 1, 100);
        RSECzasPK = realSpin(box, "RSECzasPK", 0.1, 100.0, 1.0, 3);
        f->addWidget(named(new QLabel(QString::fromUtf8("Dopuszczalny błąd [sek]:"), box), "LabelSEDopDladPK"), 0, 0);
        f->addWidget(SEDopDladPK, 0, 1);
        f->addWidget(named(new QLabel(QStringLiteral("Drgania [sek.]:"), box), "LabelSEDrganiaPK"), 1, 0);
        f->addWidget(SEDrganiaPK, 1, 1);
        f->addWidget(named(new QLabel(QStringLiteral("Zaliczenie po:"), box), "LabelRSECzasPK"), 2, 0);
        f->addWidget(RSECzasPK, 2, 1);
        f->addWidget(named(new QLabel(QStringLiteral("sek."), box), "UnitRSECzasPK"), 2, 2);
        Button1 = NamedButton(box, "Button1", QStringLiteral("&Domyślne"));
        f->addWidget(Button1, 3, 1);
        top->addWidget(box);
        v->addLayout(top);
        v->addWidget(folderRow(p, EditKatPodzKatowe, "EditKatPodzKatowe", PrzegladKatowe, "PrzegladKatowe"));
        v->addStretch();
    }
    {  // TSFFT
        QWidget* p = page(PageControl1, "TSFFT", QStringLiteral("FFT"));
        auto* v = new QVBoxLayout(p);
        v->addWidget(folderRow(p, EditKatFFT, "EditKatFFT", PrzegladFFT, "PrzegladFFT"));
        v->addStretch();
    }
    {  // tsMeteo
        QWidget* p = page(PageControl1, "tsMeteo", QStringLiteral("Meteo"));
        auto* g = new QGridLayout(p);
        auto* sensors = named(new QGroupBox(QStringLiteral("Czujniki"), p), "GroupBoxCzujniki");
        auto* sv = new QVBoxLayout(sensors);
        CBW = named(new QCheckBox(QString::fromUtf8("Automatyczny pomiar wilgotności"), sensors), "CBW");
        CBC = named(new QCheckBox(QString::fromUtf8("Automatyczny pomiar ciśnienia"), sensors), "CBC");
        CBT = named(new QCheckBox(QStringLiteral("Automatyczny pomiar temperatury powietrza"), sensors), "CBT");
        CBTM = named(new QCheckBox(QString::fromUtf8("Automatyczny pomiar temperatury materiału"), sensors), "CBTM");
        for (QCheckBox* c : {CBW, CBC, CBT, CBTM}) sv->addWidget(c);
        g->addWidget(sensors, 0, 0, 1, 2);
        auto* ref = new QHBoxLayout;
        RSETRef = realSpin(p, "RSETRef", 0.0, 40.0, 0.1, 1);
        ref->addWidget(named(new QLabel(QStringLiteral("Temperatura odniesienia: "), p), "LabelRSETRef"));
        ref->addWidget(RSETRef);
        ref->addStretch();
        g->addLayout(ref, 1, 0, 1, 2);
        rgTempUnit = radio(p, "rgTempUnit", QStringLiteral("Jednostka temperatury"),
                           {QString::fromUtf8("°C"), QString::fromUtf8("°F")});
        rgPresUnit = radio(p, "rgPresUnit", QString::fromUtf8("Jednostka ciśnienia"),
                           {QStringLiteral("hPa"), QStringLiteral("mmHg"), QStringLiteral("inHg")});
        g->addWidget(rgTempUnit, 2, 0);
        g->addWidget(rgPresUnit, 2, 1);
        g->setRowStretch(3, 1);
    }

    ButtonOk = NamedButton(this, "ButtonOk", QStringLiteral("&Ok"));
    ButtonOk->setDefault(true);
    ButtonAnuluj = NamedButton(this, "ButtonAnuluj", QStringLiteral("Anuluj"));
    ButtonPomoc = NamedButton(this, "ButtonPomoc", QStringLiteral("Pomo&c"));
    main->addLayout(ButtonRow({ButtonOk, ButtonAnuluj, ButtonPomoc}));

    connect(ButtonOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(ButtonAnuluj, &QPushButton::clicked, this, &QDialog::reject);
    connect(ButtonPomoc, &QPushButton::clicked, this, &TFOpcje::ButtonPomocClick);
    connect(ButtonDom, &QPushButton::clicked, this, &TFOpcje::ButtonDomClick);
    connect(Button1, &QPushButton::clicked, this, &TFOpcje::Button1Click);
    connect(bWykCom, &QPushButton::clicked, this, &TFOpcje::bWykComClick);
    connect(SBSiatka, &QToolButton::clicked, this, &TFOpcje::SBSiatkaClick);
    connect(SBKoperta, &QToolButton::clicked, this, &TFOpcje::SBKopertaClick);
    connect(PrzegladPoz, &QPushButton::clicked, this, &TFOpcje::PrzegladPozClick);
    connect(PrzegladPred, &QPushButton::clicked, this, &TFOpcje::PrzegladPredClick);
    connect(PrzegladProst, &QPushButton::clicked, this, &TFOpcje::PrzegladProstClick);
    connect(PrzegladPlas, &QPushButton::clicked, this, &TFOpcje::PrzegladPlasClick);
    connect(PrzegladKatowe, &QPushButton::clicked, this, &TFOpcje::PrzegladKatoweClick);
    connect(PrzegladFFT, &QPushButton::clicked, this, &TFOpcje::PrzegladFFTClick);
    connect(rgTempUnit, &TRadioGroup::changed, this, [this] {
        if (!loading_) rgTempUnitClick();
    });
    connect(RSETRef, &QLineEdit::textChanged, this, [this] {
        if (!loading_) RSETRefChange();
    });

    // The language list and the stored choice.
    FillLanguageList(RGJezyk, LanguageCodes_);
    RGJezyk->SetItemIndex(LanguageListIndex(LanguageCodes_, StoredLanguageChoice()));

    ShowPage(OptionsPage::Predkosc);
    FinishCreate();
}

void TFOpcje::Load(const TOptionsValues& v, bool cardLink) {
    loading_ = true;
    RadioGroupCom->setEnabled(!cardLink);
    EditKatPoz->setText(v.positioningDir);
    EditKatPlas->setText(v.flatnessDir);
    EditKatProst->setText(v.straightnessDir);
    EditKatPredkosc->setText(v.velocityDir);
    EditKatPodzKatowe->setText(v.angularDir);
    EditKatFFT->setText(v.fftDir);
    SpinEditOdstep->setValue(v.pointDistance);
    SpinEditDrgania->setValue(v.vibration);
    PointTimeEdit->SetValue(v.pointTime);
    SpinEditLiczbaCykli->setValue(v.cycleCount);
    SpinEditDopBlad->setValue(v.errorWindow);
    SEDopDladPK->setValue(v.errorWindowPK);
    SEDrganiaPK->setValue(v.vibrationPK);
    RSECzasPK->SetValue(v.pointTimePK);
    RadioGroupCom->SetItemIndex(v.comPort);
    RadioGroupMetoda->SetItemIndex(v.straightnessMethod);
    RadioGroupStatystyka->SetItemIndex(v.statisticsMethod);
    RadioGroupKierunekObrotu->SetItemIndex(v.rotationDirection);
    VelUnit->SetItemIndex(v.velocityUnit);
    (v.positioningMethod == 1 ? SBPielgrzym : v.positioningMethod == 2 ? SBPielgrzymJS : SBLiniowa)->setChecked(true);
    cbJednostronny->setChecked(v.uniDirectional);
    if (v.flatnessGrid) {
        SBSiatka->setChecked(true);
        SBSiatkaClick();
    } else {
        SBKoperta->setChecked(true);
        SBKopertaClick();
    }
    SELiczbaPozimych->setValue(v.flatnessHLines);
    SELiczbaPinowych->setValue(v.flatnessVLines);
    MSELPunkt->setValue(v.straightnessPointCount);
    CBW->setChecked(v.humidityFromSensor);
    CBC->setChecked(v.pressureFromSensor);
    CBT->setChecked(v.airTempFromSensor);
    CBTM->setChecked(v.materialTempFromSensor);

    rgTempUnit->SetItemIndex(v.temperatureUnit);
    rgPresUnit->SetItemIndex(v.pressureUnit);
    if (v.temperatureUnit == 1) {
        RSETRef->SetMinValue(-17.0);
        RSETRef->SetMaxValue(104.0);
        RSETRef->SetValue(v.referenceTemperatureC * 1.8 + 32.0);
    } else {
        RSETRef->SetMinValue(0.0);
        RSETRef->SetMaxValue(40.0);
        RSETRef->SetValue(v.referenceTemperatureC);
    }
    ReferenceTemperatureC = v.referenceTemperatureC;

    rgUnit->SetItemIndex(v.lengthUnit);
    systemXY_ = v.systemXY;
    // Offered with the two-axis system only; laid out hidden, it would be enabled but out of
    // reach, so it shows when it can be chosen.
    cbPozycIProsto->setEnabled(v.systemXY);
    cbPozycIProsto->setVisible(v.systemXY);
    cbPozycIProsto->setChecked(v.systemXY && v.posAndStr);
    loading_ = false;
}

TOptionsValues TFOpcje::Values() const {
    TOptionsValues v;
    v.positioningDir = EditKatPoz->text();
    v.flatnessDir = EditKatPlas->text();
    v.straightnessDir = EditKatProst->text();
    v.velocityDir = EditKatPredkosc->text();
    v.angularDir = EditKatPodzKatowe->text();
    v.fftDir = EditKatFFT->text();
    v.pointDistance = SpinEditOdstep->value();
    v.vibration = SpinEditDrgania->value();
    v.pointTime = PointTimeEdit->Value();
    v.cycleCount = SpinEditLiczbaCykli->value();
    v.errorWindow = SpinEditDopBlad->value();
    v.errorWindowPK = SEDopDladPK->value();
    v.vibrationPK = SEDrganiaPK->value();
    v.pointTimePK = RSECzasPK->Value();
    v.comPort = RadioGroupCom->ItemIndex();
    v.straightnessMethod = RadioGroupMetoda->ItemIndex();
    v.statisticsMethod = RadioGroupStatystyka->ItemIndex();
    v.rotationDirection = RadioGroupKierunekObrotu->ItemIndex();
    v.velocityUnit = VelUnit->ItemIndex();
    v.positioningMethod = SBLiniowa->isChecked() ? 0 : SBPielgrzym->isChecked() ? 1 : 2;
    v.uniDirectional = cbJednostronny->isChecked();
    v.flatnessGrid = SBSiatka->isChecked();
    v.flatnessHLines = SELiczbaPozimych->value();
    v.flatnessVLines = SELiczbaPinowych->value();
    v.straightnessPointCount = MSELPunkt->value();
    v.humidityFromSensor = CBW->isChecked();
    v.pressureFromSensor = CBC->isChecked();
    v.airTempFromSensor = CBT->isChecked();
    v.materialTempFromSensor = CBTM->isChecked();
    v.systemXY = systemXY_;
    v.posAndStr = cbPozycIProsto->isChecked();
    v.temperatureUnit = rgTempUnit->ItemIndex();
    v.pressureUnit = rgPresUnit->ItemIndex();
    v.referenceTemperatureC = v.temperatureUnit == 1 ? (RSETRef->Value() - 32.0) * 0.5555555555555556 : RSETRef->Value();
    v.lengthUnit = rgUnit->ItemIndex();
    return v;
}

void TFOpcje::ShowPage(OptionsPage p) { PageControl1->setCurrentIndex(int(p)); }
OptionsPage TFOpcje::CurrentPage() const { return OptionsPage(PageControl1->currentIndex()); }
int TFOpcje::LanguageIndex() const { return RGJezyk->ItemIndex(); }

void TFOpcje::PrzegladPozClick() { EditKatPoz->setText(ChooseDirectory(EditKatPoz->text(), this)); }
void TFOpcje::PrzegladPredClick() { EditKatPredkosc->setText(ChooseDirectory(EditKatPredkosc->text(), this)); }
void TFOpcje::PrzegladProstClick() { EditKatProst->setText(ChooseDirectory(EditKatProst->text(), this)); }
void TFOpcje::PrzegladPlasClick() { EditKatPlas->setText(ChooseDirectory(EditKatPlas->text(), this)); }
void TFOpcje::PrzegladKatoweClick() {
    EditKatPodzKatowe->setText(ChooseDirectory(EditKatPodzKatowe->text(), this));
}
void TFOpcje::PrzegladFFTClick() { EditKatFFT->setText(ChooseDirectory(EditKatFFT->text(), this)); }

void TFOpcje::ButtonDomClick() {
    SpinEditOdstep->setValue(100);
    SpinEditDrgania->setValue(10);
    PointTimeEdit->SetValue(1.0);
    SpinEditDopBlad->setValue(1000);
}

void TFOpcje::Button1Click() {
    SEDopDladPK->setValue(1800);
    SEDrganiaPK->setValue(10);
    RSECzasPK->SetValue(1.0);
}

void TFOpcje::ButtonPomocClick() { ShowHelpContext(HelpContext); }

void TFOpcje::SBSiatkaClick() {
    for (QWidget* w : std::initializer_list<QWidget*>{LabPozime, LabPionowe, SELiczbaPozimych, SELiczbaPinowych})
        w->setEnabled(true);
}

void TFOpcje::SBKopertaClick() {
    for (QWidget* w : std::initializer_list<QWidget*>{LabPozime, LabPionowe, SELiczbaPozimych, SELiczbaPinowych})
        w->setEnabled(false);
}

void TFOpcje::bWykComClick() {
    int result = 0;
    int port = 0;
    {
        TfWykCom dlg(portSearch_, this, speeds_);
        result = dlg.exec();
        port = dlg.PortIndex();
    }
    portSearched_ = true;
    portFound_ = result == mrOk;
    const PortDetectionOutcome o = PortDetectionResult(result, port);
    if (o.portIndex) RadioGroupCom->SetItemIndex(*o.portIndex);
    if (!o.message.isEmpty()) ShowMessage(o.message);
}

void TFOpcje::rgTempUnitClick() {
    loading_ = true;
    if (rgTempUnit->ItemIndex() == 0) {
        RSETRef->SetValue(ReferenceTemperatureC);
        RSETRef->SetMinValue(0.0);
        RSETRef->SetMaxValue(40.0);
    } else if (rgTempUnit->ItemIndex() == 1) {
        RSETRef->SetMinValue(-17.0);
        RSETRef->SetMaxValue(104.0);
        RSETRef->SetValue(ReferenceTemperatureC * 1.8 + 32.0);
    }
    loading_ = false;
}

void TFOpcje::RSETRefChange() {
    if (rgTempUnit->ItemIndex() == 0)
        ReferenceTemperatureC = RSETRef->Value();
    else if (rgTempUnit->ItemIndex() == 1)
        ReferenceTemperatureC = (RSETRef->Value() - 32.0) * 0.5555555555555556;
}

// ---- the command ----------------------------------------------------------------------------

bool RunOptionsDialog(OptionsDialogHost& host, bool fromBitButton, QWidget* parent) {
    TSettings& settings = host.OptionsSettings();
    TFOpcje dlg(host.PortSearch(), parent, {settings.BaudRateIndex, settings.AltBaudRateIndex});
    const int language = dlg.LanguageIndex();
    dlg.Load(OptionsFromSettings(settings, ReferenceTemperature, LengthUnit), InterfaceMode.load() == 0);
    dlg.ShowPage(OptionsFirstPage(fromBitButton, host.OptionsMeasurementMode()));
    host.RememberSerialLink();
    const bool accepted = dlg.exec() == QDialog::Accepted;
    if (dlg.PortSearched()) host.SettleSerialLink(accepted && dlg.PortFound());
    if (!accepted) return false;

    const TOptionsValues v = dlg.Values();
    StoreOptionsFirst(v, settings);
    if (dlg.LanguageIndex() != language) ApplyLanguage(dlg.LanguageIndex(), dlg.LanguageCodes());
    StoreOptionsRest(v, settings, ReferenceTemperature, LengthUnit);
    host.ShowStoredChoices();
    host.ApplyEnvironmentEntryUnits();
    host.ApplyLengthUnit();
    host.RefreshPageAfterOptions();
    return true;
}
