#include "app/ServicePage.h"

#include <QAction>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QScrollArea>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

#include "app/PageControls.h"
#include "app/RunCommands.h"
#include "app/ServicePanel.h"
#include "app/Unit_glowny.h"
#include "foundations/Display.h"
#include "foundations/FR_Utils.h"
#include "foundations/ProgramMessages.h"
#include "foundations/RadioGroup.h"
#include "foundations/SharedGlobals.h"
#include "instrument/LinkPort.h"
#include "instrument/RawConversion.h"
#include "instrument/SerialFrameParser.h"

using namespace pagecontrols;

namespace {

QColor colourOf(uint32_t bgr) { return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF)); }
uint32_t bgrOf(const QColor& c) { return uint32_t(c.red()) | uint32_t(c.green()) << 8 | uint32_t(c.blue()) << 16; }

void setTextColour(QLabel* l, const QColor& c) {
    if (!l) return;
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, c);
    l->setPalette(p);
}

QColor windowText(const QLabel* l) { return l->palette().color(QPalette::WindowText); }

QString textOf(const char* key, const char* polish) {
    return TranslateString(QString::fromLatin1(key), QString::fromUtf8(polish));
}

}  // namespace

ServicePage::ServicePage(ServicePanelHost& host, QObject* parent) : QObject(parent), host_(host) {}

QWidget* ServicePage::Build(TMainForm& f) {
    auto cmd = [this](QWidget* parent, const char* name, const char* caption, void (ServicePage::*handler)()) {
        QPushButton* b = button(parent, name, QString::fromUtf8(caption));
        QObject::connect(b, &QPushButton::clicked, this, handler);
        return b;
    };
    auto* page = named(new QWidget, "PanelSerwisowy");
    page_ = page;
    auto* outer = new QVBoxLayout(page);
    outer->setContentsMargins(6, 4, 6, 4);  // every pixel counts on a 1024 x 768 screen
    auto* columns = new QHBoxLayout;
    outer->addLayout(columns, 1);

    // --- column 1: the laser, the link, the flag pages and the environment channels ---
    auto* c1 = new QVBoxLayout;
    c1->setSpacing(3);
    auto* laser = named(new QGroupBox(QStringLiteral("Laser"), page), "GroupBoxLaser");
    auto* ll = new QGridLayout(laser);
    ll->addWidget(label(laser, "LabNazwaLasOpis", QStringLiteral("Laser:")), 0, 0);
    f.LNazwaLas = label(laser, "LNazwaLas", QString());
    ll->addWidget(f.LNazwaLas, 0, 1);
    ll->addWidget(label(laser, "LabLambdaOpis", QStringLiteral("Długość fali [nm]:")), 1, 0);
    f.LLambda = label(laser, "LLambda", QString());
    ll->addWidget(f.LLambda, 1, 1);
    ll->addWidget(label(laser, "LabWolastonOpis", QStringLiteral("Wollaston:")), 2, 0);
    f.LWolaston = label(laser, "LWolaston", QString());
    ll->addWidget(f.LWolaston, 2, 1);
    c1->addWidget(laser);

    f.PSTransmisja2 = named(
        new TRadioGroup(QStringLiteral("Transmisja"), {QStringLiteral("FIFO"), QStringLiteral("RS232")}, page),
        "PSTransmisja2");
    f.PSTransmisja2->SetColumns(2);
    c1->addWidget(f.PSTransmisja2);
    QStringList ports;
    for (int i = 1; i <= 10; ++i) ports << QStringLiteral("COM%1").arg(i);
    f.ComPortUstawienia = named(new TRadioGroup(QStringLiteral("Port"), ports, page), "ComPortUstawienia");
    f.ComPortUstawienia->SetColumns(5);
    c1->addWidget(f.ComPortUstawienia);
    f.BaudRateRG = named(new TRadioGroup(QStringLiteral(" Speed b/s "),
                                         {QStringLiteral("300"), QStringLiteral("600"), QStringLiteral("1200"),
                                          QStringLiteral("2400"), QStringLiteral("4800"), QStringLiteral("9600"),
                                          QStringLiteral("14400"), QStringLiteral("19200"), QStringLiteral("38400"),
                                          QStringLiteral("56000"), QStringLiteral("57600"), QStringLiteral("115200")},
                                         page),
                         "BaudRateRG");
    f.BaudRateRG->SetColumns(4);
    c1->addWidget(f.BaudRateRG);
    auto* linkRow = new QHBoxLayout;
    f.RSButton_Polacz = button(page, "RSButton_Polacz", QStringLiteral("Połącz"));
    f.RSButton_Rozlacz = button(page, "RSButton_Rozlacz", QStringLiteral("Rozłącz"));
    f.RSButton_Rozlacz->setEnabled(false);
    linkRow->addWidget(f.RSButton_Polacz);
    linkRow->addWidget(f.RSButton_Rozlacz);
    c1->addLayout(linkRow);

    // The flag pages: name and value of each bit, bit 7 at the top as on the interface.
    NotebookFlagi = named(new QStackedWidget(page), "NotebookFlagi");
    f.NotebookFlagi = NotebookFlagi;
    auto flagPage = [&](const char* pageName, const char* titleName, const char* title, const char* valuePrefix,
                        const char* namePrefix, const std::array<service::FlagBit, 8>& bits,
                        std::array<QLabel*, 8>& values, std::array<QLabel*, 8>& names) {
        auto* box = named(new QGroupBox, pageName);
        auto* g = new QGridLayout(box);
        QLabel* t = label(box, titleName, QString::fromLatin1(title));
        QFont tf = t->font();
        tf.setBold(true);
        t->setFont(tf);
        setTextColour(t, colourOf(service::kBlue));
        g->addWidget(t, 0, 0, 1, 3);
        for (int bit = 7; bit >= 0; --bit) {
            const int row = 8 - bit;
            g->addWidget(new QLabel(QString::number(bit), box), row, 0);
            names[size_t(bit)] = label(box, (QByteArray(namePrefix) + QByteArray::number(30 - bit)).constData(),
                                       QString::fromLatin1(bits[size_t(bit)].name));
            values[size_t(bit)] = label(box, (QByteArray(valuePrefix) + QByteArray::number(30 - bit)).constData(),
                                        QStringLiteral("-"));
            QFont vf = values[size_t(bit)]->font();
            vf.setFamily(QStringLiteral("Courier New"));
            vf.setStyleHint(QFont::Monospace);
            values[size_t(bit)]->setFont(vf);
            g->addWidget(names[size_t(bit)], row, 1);
            g->addWidget(values[size_t(bit)], row, 2);
        }
        g->setColumnStretch(1, 1);
        NotebookFlagi->addWidget(box);
        return t;
    };
    Label1FIFO = flagPage("FlagiFifo", "Label1FIFO", "FLAGI FIFO", "PSLabel", "PSNazwa", service::CardFlagBits(),
                          cardValues_, cardNames_);
    Label1RS = flagPage("FlagiRS", "Label1RS", "FLAGI RS", "PSRSLabel", "PSRSNazwa", service::SerialFlagBits(),
                        serialValues_, serialNames_);
    c1->addWidget(NotebookFlagi);
    auto* flagButtons = new QGridLayout;
    auto* tOn = cmd(page, "PSButton1", "T ON", &ServicePage::PSButton1Click);
    auto* tOff = cmd(page, "PSButton2", "T OFF", &ServicePage::PSButton2Click);
    auto* flagOnce = cmd(page, "PSOdczytFLAG", "Odbior FLAG ON", &ServicePage::PSOdczytFLAGClick);
    flagButtons->addWidget(tOn, 0, 0);
    flagButtons->addWidget(tOff, 0, 1);
    flagButtons->addWidget(flagOnce, 0, 2);
    c1->addLayout(flagButtons);
    auto* meteo = named(new QGroupBox(QStringLiteral("Meteo"), page), "GroupBoxMeteoSerwis");
    auto* mg = new QGridLayout(meteo);
    static const char* const channels[6] = {"Temp. powietrza", "Temp. materiału 1", "Temp. materiału 2",
                                            "Temp. materiału 3", "Wilgotność",        "Ciśnienie"};
    for (int c = 0; c < 6; ++c) {
        meteoNames_[size_t(c)] = label(meteo, service::MeteoNameLabels()[size_t(c)], QString::fromUtf8(channels[c]));
        meteoRaw_[size_t(c)] = label(meteo, service::MeteoRawLabels()[size_t(c)], QStringLiteral("0"));
        meteoValues_[size_t(c)] = label(meteo, service::MeteoValueLabels()[size_t(c)], QStringLiteral("--"));
        meteoRaw_[size_t(c)]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        meteoValues_[size_t(c)]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        meteoRaw_[size_t(c)]->setMinimumWidth(60);
        meteoValues_[size_t(c)]->setMinimumWidth(80);
        mg->addWidget(meteoNames_[size_t(c)], c, 0);
        mg->addWidget(meteoRaw_[size_t(c)], c, 1);
        mg->addWidget(meteoValues_[size_t(c)], c, 2);
    }
    mg->setColumnStretch(0, 1);

    c1->addStretch(1);
    columns->addLayout(c1, 1);

    // --- column 2: commands, card ports and tests, the reading, the loader ---
    auto* c2 = new QVBoxLayout;
    auto* commands = named(new QGroupBox(QStringLiteral("Komendy"), page), "GroupBoxKomendy");
    auto* cg = new QGridLayout(commands);
    PSSpinEdit1 = named(new QSpinBox(commands), "PSSpinEdit1");
    PSSpinEdit1->setRange(0, 255);
    cg->addWidget(PSSpinEdit1, 0, 0);
    cg->addWidget(cmd(commands, "PSButton3", "Wyślij K0", &ServicePage::PSButton3Click), 0, 1);
    int n = 0;
    for (const service::CommandButton& b : service::CommandButtons()) {
        QPushButton* w = button(commands, b.name, QString::fromUtf8(b.caption));
        QObject::connect(w, &QPushButton::clicked, this, [this, byte = b.command] { host_.SendCommand(byte); });
        cg->addWidget(w, 1 + n / 2, n % 2);
        ++n;
    }
    cg->addWidget(cmd(commands, "bRejOn", "RejOn", &ServicePage::bRejOnClick), 1 + n / 2, n % 2);
    c2->addWidget(commands);

    auto* card = named(new QGroupBox(QStringLiteral("Porty i testy"), page), "GroupBoxTesty");
    auto* kg = new QGridLayout(card);
    // Two a row, as the commands above: three would widen the column past a 1024 x 768 screen.
    kg->addWidget(cmd(card, "PSButton4", "Odbior FIFO", &ServicePage::PSButton4Click), 0, 0);
    kg->addWidget(cmd(card, "PSButton6", "Odbior K1", &ServicePage::PSButton6Click), 0, 1);
    kg->addWidget(cmd(card, "PSButton7", "Odbior K0", &ServicePage::PSButton7Click), 1, 0);
    kg->addWidget(cmd(card, "PSButton43", "Test Biosu", &ServicePage::PSButton43Click), 1, 1);
    kg->addWidget(cmd(card, "PSButton46", "Test Programu", &ServicePage::PSButton46Click), 2, 0);
    kg->addWidget(cmd(card, "ResetProgBiosu", "Reset Prog. Biosu", &ServicePage::ResetBiosuClick), 2, 1);
    c2->addWidget(card);

    auto* reading = named(new QGroupBox(QStringLiteral("Odczyt"), page), "GroupBoxOdczyt");
    auto* rg = new QGridLayout(reading);
    rg->addWidget(cmd(reading, "PSOdczytFifo_ON", "Odczyt ON", &ServicePage::PSOdczytFifo_ONClick), 0, 0);
    rg->addWidget(cmd(reading, "PSButton15", "Odczyt OFF", &ServicePage::PSButton15Click), 0, 1);
    rg->addWidget(cmd(reading, "PSButton33", "Kasowanie i Start", &ServicePage::PSKasowanieWyniku), 1, 0);
    rg->addWidget(cmd(reading, "PSButton38", "Odczyt Meteo", &ServicePage::OdczytMeteoClick), 1, 1);
    c2->addWidget(reading);
    auto* xy = named(new QGroupBox(QStringLiteral("System XY"), page), "GroupBoxXY");
    auto* xg = new QGridLayout(xy);
    static const char* const xyNames[6] = {"DispX", "DispY", "DispDeltaX", "DispDeltaY", "DispPowX", "DispPowY"};
    static const char* const xyCaptions[6] = {"X", "Y", "dX", "dY", "Moc X", "Moc Y"};
    for (int i = 0; i < 6; ++i) {
        auto* caption = new QLabel(QString::fromUtf8(xyCaptions[i]), xy);
        caption->setObjectName(QStringLiteral("Label") + QString::fromLatin1(xyNames[i]));  // for the language file
        xg->addWidget(caption, i / 2, (i % 2) * 2);
        xyDisplays_[size_t(i)] = display(xy, xyNames[i], 0, 11);
        xg->addWidget(xyDisplays_[size_t(i)], i / 2, (i % 2) * 2 + 1);
    }
    // The firmware reload with its progress and the head's texts.
    auto* loader = named(new QGroupBox(QStringLiteral("Program interfejsu"), page), "GroupBoxLadowanie");
    auto* lg = new QGridLayout(loader);
    lg->addWidget(cmd(loader, "PSButton23", "Load program", &ServicePage::LadowanieProgramuClick), 0, 0);
    PSLabel13 = label(loader, "PSLabel13", QString());
    PSLabel13->setMinimumWidth(40);
    lg->addWidget(PSLabel13, 0, 1);
    PSProgressBar1 = named(new QProgressBar(loader), "PSProgressBar1");
    PSProgressBar1->setRange(0, 100);
    PSProgressBar1->setValue(0);
    lg->addWidget(PSProgressBar1, 1, 0, 1, 2);
    PSListBox2 = named(new QListWidget(loader), "PSListBox2");
    f.PSListBox2 = PSListBox2;
    PSListBox2->setMinimumHeight(48);
    lg->addWidget(PSListBox2, 2, 0, 1, 2);
    c2->addWidget(loader, 1);


    columns->addLayout(c2, 1);


    // --- column 3: the settings pages, the counts and levels, the serial trace ---
    auto* c4 = new QVBoxLayout;
    c4->setSpacing(3);
    f.NotebookUstawienia = named(new QStackedWidget(page), "NotebookUstawienia");
    auto* thresholds = new QWidget;
    auto* tl = new QGridLayout(thresholds);
    f.ScrollBar4 = named(new QScrollBar(Qt::Horizontal, thresholds), "ScrollBar4");
    f.ScrollBar4->setRange(1, 40);
    f.ScrollBar4->setValue(10);
    f.PSLabel46 = label(thresholds, "PSLabel46", QString());
    f.ScrollBar5 = named(new QScrollBar(Qt::Horizontal, thresholds), "ScrollBar5");
    f.ScrollBar5->setRange(40, 100);
    f.ScrollBar5->setValue(50);
    f.PSLabel57 = label(thresholds, "PSLabel57", QString());
    tl->addWidget(f.PSLabel46, 0, 0);
    tl->addWidget(f.ScrollBar4, 1, 0);
    tl->addWidget(f.PSLabel57, 2, 0);
    tl->addWidget(f.ScrollBar5, 3, 0);
    tl->setRowStretch(4, 1);
    QObject::connect(f.ScrollBar4, &QScrollBar::valueChanged, &f, &TMainForm::ScrollBar4Change);
    QObject::connect(f.ScrollBar5, &QScrollBar::valueChanged, &f, &TMainForm::ScrollBar5Change);
    f.NotebookUstawienia->addWidget(thresholds);

    // Page 1: movement detection, environment averaging and the signal gauge limits.
    auto* settings = new QWidget;
    auto* sg = new QGridLayout(settings);
    auto bar = [](QWidget* parent, const char* name, int lo, int hi, int pos) {
        auto* b = named(new QScrollBar(Qt::Horizontal, parent), name);
        b->setRange(lo, hi);
        b->setValue(pos);
        return b;
    };
    f.PsLabel02 = label(settings, "PsLabel02", QString());
    f.ScrollBar13 = bar(settings, "ScrollBar13", 10, 200, 40);
    f.Label133 = label(settings, "Label133", QString());
    f.ScrollBar12 = bar(settings, "ScrollBar12", 0, 50, 20);
    f.Label131 = label(settings, "Label131", QString());
    f.ScrollBar10 = bar(settings, "ScrollBar10", 0, 255, 126);
    f.Label132 = label(settings, "Label132", QString());
    f.ScrollBar11 = bar(settings, "ScrollBar11", 0, 125, 125);
    sg->addWidget(f.PsLabel02, 0, 0, 1, 2);
    sg->addWidget(f.ScrollBar13, 1, 0, 1, 2);
    sg->addWidget(f.Label133, 2, 0, 1, 2);
    sg->addWidget(f.ScrollBar12, 3, 0, 1, 2);
    f.RadioGroupUsrednianieMeteo = named(
        new TRadioGroup(QString::fromUtf8("Uśrednianie meteo"), {QStringLiteral("Tak"), QStringLiteral("Nie")}, settings),
        "RadioGroupUsrednianieMeteo");
    f.RadioGroupUsrednianieMeteo->SetColumns(2);
    f.RadioGroupUsrednianieMeteo->SetItemIndex(0);
    // Right below the averaging threshold it goes with.
    sg->addWidget(f.RadioGroupUsrednianieMeteo, 4, 0, 1, 2);
    sg->addWidget(label(settings, "LabMaxLevel", QStringLiteral("Max level")), 5, 0);
    sg->addWidget(f.Label131, 5, 1);
    sg->addWidget(f.ScrollBar10, 6, 0, 1, 2);
    sg->addWidget(label(settings, "LabMinLevel", QStringLiteral("Min level")), 7, 0);
    sg->addWidget(f.Label132, 7, 1);
    sg->addWidget(f.ScrollBar11, 8, 0, 1, 2);
    // The warnings and the head's two-axis detector (the first page has no room to spare on a
    // small screen).
    f.CheckBox4 = named(new QCheckBox(QString::fromUtf8("Ostrzeganie o zbyt dużej odchyłki"), settings), "CheckBox4");
    f.CheckBoxIgnorujZaDuzaPredkosc = named(
        new QCheckBox(QString::fromUtf8("Ignoruj zbyt dużą prędkość"), settings), "CheckBoxIgnorujZaDuzaPredkosc");
    f.cbSystemXY = named(new QCheckBox(QStringLiteral("System z pomiarem XY"), settings), "cbSystemXY");
    sg->addWidget(f.CheckBox4, 9, 0, 1, 2);
    sg->addWidget(f.CheckBoxIgnorujZaDuzaPredkosc, 10, 0, 1, 2);
    sg->addWidget(f.cbSystemXY, 11, 0, 1, 2);
    sg->setRowStretch(12, 1);
    f.NotebookUstawienia->addWidget(settings);

    // Page 2: the motor, the interface clock, the resets and the environment reading's end.
    auto* motorPage = new QWidget;
    auto* mp = new QVBoxLayout(motorPage);
    auto* motor = named(new QGroupBox(QStringLiteral("Silnik"), motorPage), "GroupBoxSilnik");
    auto* clock = named(new QGroupBox(QStringLiteral("Zegar"), motorPage), "GroupBoxZegar");
    auto* motorGrid = new QGridLayout(motor);
    auto* clockRow = new QHBoxLayout(clock);
    int motorButtons = 0;
    for (const runcontrol::ServiceButton& c : runcontrol::ServiceCommandButtons()) {
        QPushButton* b = button(motor, c.name, QString::fromUtf8(c.caption));
        commandButtons_.emplace_back(QString::fromLatin1(c.name), b);
        if (QByteArray(c.name).startsWith("Button3")) {
            b->setParent(clock);
            clockRow->addWidget(b);
        } else {
            motorGrid->addWidget(b, motorButtons / 2, motorButtons % 2);
            ++motorButtons;
        }
    }
    mp->addWidget(motor);
    mp->addWidget(clock);
    f.ResetSprzetowy = button(motorPage, "ResetSprzetowy", QStringLiteral("Reset Sprzętowy RS"));
    f.ResetProgramu = button(motorPage, "ResetProgramu", QStringLiteral("Reset Programu"));
    f.PSButton39 = button(motorPage, "PSButton39", QStringLiteral("Koniec Od. M"));
    for (QPushButton* b : {f.ResetSprzetowy, f.ResetProgramu, f.PSButton39}) mp->addWidget(b);
    mp->addStretch(1);
    f.NotebookUstawienia->addWidget(motorPage);

    auto* settingsBox = named(new QGroupBox(QStringLiteral("Ustawienia"), page), "GroupBoxUstawienia");
    auto* sb = new QVBoxLayout(settingsBox);
    sb->addWidget(f.NotebookUstawienia, 1);
    auto* pageButtons = new QHBoxLayout;
    f.Button18 = button(settingsBox, "Button18", QStringLiteral("Zapis Konfiguracji"));
    f.Button19 = button(settingsBox, "Button19", QStringLiteral("Odczyt Konfiguracji"));
    f.Button22 = button(settingsBox, "Button22", QStringLiteral("Następna strona..."));
    pageButtons->addWidget(f.Button18);
    pageButtons->addWidget(f.Button19);
    sb->addLayout(pageButtons);
    // On a row of its own, so that the column is no wider than a 1024 x 768 screen allows.
    auto* nextPage = new QHBoxLayout;
    nextPage->addStretch(1);
    nextPage->addWidget(f.Button22);
    sb->addLayout(nextPage);
    c4->addWidget(settingsBox, 2);
    // The settings take the height of the page shown, not of their tallest page.
    auto fitShownPage = [stack = f.NotebookUstawienia](int shown) {
        for (int i = 0; i < stack->count(); ++i)
            stack->widget(i)->setSizePolicy(QSizePolicy::Preferred, i == shown ? QSizePolicy::Preferred : QSizePolicy::Ignored);
        stack->updateGeometry();
    };
    QObject::connect(f.NotebookUstawienia, &QStackedWidget::currentChanged, page, fitShownPage);
    fitShownPage(f.NotebookUstawienia->currentIndex());

    auto* lists = new QHBoxLayout;
    auto listBox = [&](const char* boxName, const char* caption, const char* name) {
        auto* box = named(new QGroupBox(QString::fromUtf8(caption), page), boxName);
        auto* l = new QVBoxLayout(box);
        auto* list = named(new QListWidget(box), name);
        list->setMinimumHeight(40);  // they grow with the room the column has
        l->addWidget(list);
        lists->addWidget(box);
        return list;
    };
    f.PSListBox1 = listBox("GroupBoxZliczenia", "Zliczenia", "PSListBox1");
    f.PSListBox3 = listBox("GroupBoxPoziom", "Poziom sygnału", "PSListBox3");
    c4->addLayout(lists, 2);

    auto* trace = named(new QGroupBox(QStringLiteral("Transmisja RS"), page), "GroupBoxTransmisjaRS");
    auto* tr4 = new QVBoxLayout(trace);
    f.CheckBox3 = named(new QCheckBox(QStringLiteral("Odczyt wartości"), trace), "CheckBox3");
    tr4->addWidget(f.CheckBox3);
    f.RSListBox = named(new QListWidget(trace), "RSListBox");
    f.RSButton19 = button(trace, "RSButton19", QStringLiteral("Kasowanie"));
    f.RSListBox->hide();
    f.RSButton19->hide();
    tr4->addWidget(f.RSListBox, 20);
    tr4->addWidget(f.RSButton19);
    tr4->addStretch(1);
    c4->addWidget(trace, 2);
    // The environment channels at the top of the column, beside the link and the flags.
    c4->insertWidget(0, meteo);
    c4->insertWidget(1, xy);
    columns->addLayout(c4, 1);
    QObject::connect(f.CheckBox3, &QCheckBox::toggled, &f, [&f](bool on) {
        f.RSListBox->setVisible(on);
        f.RSButton19->setVisible(on);
    });
    QObject::connect(f.RSButton19, &QPushButton::clicked, f.RSListBox, &QListWidget::clear);

    // --- bottom: the ways out, the calibration form and the status bar, below the scrolled
    // part so that they always show ---
    auto* frame = named(new QWidget, "RamkaPanelSerwisowy");
    auto* frameLayout = new QVBoxLayout(frame);
    frameLayout->setContentsMargins(0, 0, 0, 0);
    auto* bottom = new QHBoxLayout;
    bottom->setContentsMargins(9, 0, 9, 0);
    bottom->addWidget(cmd(frame, "Button3", "Kalibracja", &ServicePage::kalibracja1Click));
    // The program folder on the bottom row, where a long path has the room of a line.
    f.Label127 = label(frame, "Label127", QString());
    f.Label127->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    bottom->addWidget(f.Label127, 1);
    bottom->addWidget(cmd(frame, "PSButtonKoniecTrybuSerwisowego", "Koniec Trybu Serwisowego", &ServicePage::PSButtonKoniecTrybuSerwisowegoClick));
    bottom->addWidget(cmd(frame, "PSButton31", "Koniec", &ServicePage::PSButton31Click));
    f.PSStatusBar1 = panelStatusBar(frame, "PSStatusBar1", 1);
    QObject::connect(f.PSTransmisja2, &TRadioGroup::changed, &f, &TMainForm::PSTransmisja2Click);
    QObject::connect(f.CheckBoxIgnorujZaDuzaPredkosc, &QCheckBox::toggled, &f,
                     &TMainForm::CheckBoxIgnorujZaDuzaPredkoscClick);
    QObject::connect(f.RadioGroupUsrednianieMeteo, &TRadioGroup::changed, &f,
                     &TMainForm::RadioGroupUsrednianieMeteoClick);
    QObject::connect(f.CheckBox4, &QCheckBox::toggled, &f, &TMainForm::CheckBox4Click);
    QObject::connect(f.cbSystemXY, &QCheckBox::toggled, &f, &TMainForm::cbSystemXYClick);

    PSTimer1 = new QTimer(this);
    PSTimer1->setObjectName(QStringLiteral("PSTimer1"));
    PSTimer1->setInterval(100);
    PSTimerMiganie = new QTimer(this);
    PSTimerMiganie->setObjectName(QStringLiteral("PSTimerMiganie"));
    PSTimerMiganie->setInterval(500);
    // Should the panel not fit a screen (a larger font), it scrolls there rather than making
    // the whole window larger than the screen; the ways out stay below it.
    auto* scroll = named(new QScrollArea(frame), "ScrollPanelSerwisowy");
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(page);
    frameLayout->addWidget(scroll, 1);
    frameLayout->addLayout(bottom);
    frameLayout->addWidget(f.PSStatusBar1);
    return frame;
}

void ServicePage::Connect(QAction* zeemanOn, QAction* zeemanOff, QAction* flagLoop, QAction* calibration) {
    ZeemanTestON = zeemanOn;
    ZeemanTestOFF = zeemanOff;
    petlaprzyodczycieFLAG = flagLoop;
    QObject::connect(ZeemanTestON, &QAction::triggered, this, &ServicePage::ZeemanTestONClick);
    QObject::connect(ZeemanTestOFF, &QAction::triggered, this, &ServicePage::ZeemanTestOFFClick);
    QObject::connect(petlaprzyodczycieFLAG, &QAction::triggered, this, &ServicePage::petlaprzyodczycieFLAGClick);
    QObject::connect(calibration, &QAction::triggered, this, &ServicePage::kalibracja1Click);
    QObject::connect(PSTimer1, &QTimer::timeout, this, &ServicePage::PSTimer1Timer);
    QObject::connect(PSTimerMiganie, &QTimer::timeout, this, &ServicePage::PSTimerMiganieTimer);
}

// --- handlers ---

void ServicePage::sendAndSay(uint8_t byte, const QString& status) {
    host_.SendCommand(byte);
    host_.SetStatusText(status);
}

void ServicePage::PSButton3Click() {
    const int value = PSSpinEdit1->value();
    sendAndSay(uint8_t(value), service::SentText(value));
}

void ServicePage::PSButton1Click() {
    host_.SetStatusText(QStringLiteral("Timer - włączony"));
    PSTimer1->start();
}

void ServicePage::PSButton2Click() {
    host_.SetStatusText(QStringLiteral("Timer - wyłączony"));
    PSTimer1->stop();
}

void ServicePage::PSButton4Click() {
    host_.SetStatusText(service::PortReadText(QStringLiteral("FIFO - "), host_.ReadPort(0x300)));
}

void ServicePage::PSButton6Click() {
    host_.SetStatusText(service::PortReadText(QStringLiteral("K1 - "), host_.ReadPort(0x302)));
}

void ServicePage::PSButton7Click() {
    host_.SetStatusText(service::PortReadText(QStringLiteral("K0 - "), host_.ReadPort(0x303)));
}

void ServicePage::PSOdczytFLAGClick() { RefreshFlagView(); }

void ServicePage::LadowanieProgramuClick() {
    if (MeasurementRunning.load()) {
        host_.ShowMessage(Msg("stTrwaPomiar"));
        return;
    }
    // One loader at a time: a second request would only wait for the first.
    if (host_.ProgramLoaderRunning()) {
        host_.SetStatusText(textOf("stLadowanieTrwa", "Ładowanie programu już trwa"));
        return;
    }
    PSListBox2->clear();
    host_.SetStatusText(QStringLiteral("Trwa Ładowanie"));
    host_.StartProgramLoader();
}

void ServicePage::PSOdczytFifo_ONClick() {
    if (host_.ReadingThreadRunning()) {
        host_.SetStatusText(textOf("stOdczytTrwa", "Odczyt już trwa"));
        return;
    }
    host_.SetStatusText(QStringLiteral("Odczyt włączony"));
    if (ReadingStopped.load()) {
        ReadingStopped = false;
        host_.StartReadingThread();
    }
}

void ServicePage::PSButton15Click() {
    StopReason = instrument::kStopService;  // the reading thread ends after its next frame
    host_.SetStatusText(QStringLiteral("Odczyt wyłączony"));
}

void ServicePage::PSButton31Click() { host_.DisconnectAndClose(); }

void ServicePage::PSKasowanieWyniku() { host_.RestartCounting(); }

void ServicePage::ResetBiosuClick() {
    const bool serial = host_.SerialLink();
    if (!serial && host_.BiosReaderRunning()) {
        host_.SetStatusText(textOf("stOdczytBiosuTrwa", "Odczyt Biosu już trwa"));
        return;
    }
    ReadingStopped = true;
    SignalMonitorStopped = true;
    TextLineMode = true;
    PSListBox2->clear();
    if (serial) {
        // The parser counts the start-up text's characters from 0.
        instrument::LinkState().ReceiveState = 0;
        PendingReply = 1;
        ReplyText.clear();
    }
    host_.SendCommand(HeadCommand::BiosReset);
    if (!serial) host_.StartBiosReader();
}

void ServicePage::cardTest(uint8_t command, QString (*answer)(uint8_t, uint8_t)) {
    host_.SendCommand(command);
    // The card answers on its ports within 90 ms; the window goes on meanwhile.
    QTimer::singleShot(90, this, [this, answer] {
        const uint8_t high = host_.ReadPort(0x302);
        const uint8_t low = host_.ReadPort(0x303);
        host_.SetStatusText(answer(high, low));
    });
}

void ServicePage::serialReply(uint8_t kind) {
    // The answer is judged on its first two characters: what an earlier reply left would
    // keep this one from ever being judged.
    ReplyText.clear();
    PendingReply = kind;
}

void ServicePage::PSButton43Click() {
    if (host_.SerialLink()) {
        serialReply(2);
        host_.SendCommand(HeadCommand::BiosTest);
        return;
    }
    cardTest(HeadCommand::BiosTest, &service::CardBiosTestText);
}

void ServicePage::PSButton46Click() {
    if (host_.SerialLink()) {
        serialReply(3);
        host_.SendCommand(HeadCommand::ProgramTest);
        return;
    }
    cardTest(HeadCommand::ProgramTest, &service::CardProgramTestText);
}

void ServicePage::OdczytMeteoClick() {
    if (host_.MeteoThreadRunning()) {
        host_.SetStatusText(textOf("stOdczytMeteoTrwa", "Odczyt meteo już trwa"));
        return;
    }
    MeteoStopped = false;
    host_.StartMeteoThread();
}

void ServicePage::bRejOnClick() {
    host_.SendCommand(' ');
    PendingReply = 6;
}

void ServicePage::PSButtonKoniecTrybuSerwisowegoClick() { LeaveServicePanel(); }

void ServicePage::ZeemanTestONClick() {
    host_.SendCommand('R');
    host_.SendCommand(HeadCommand::ZeemanTestOn);
    ZeemanTestON->setChecked(true);
    ZeemanTestOFF->setChecked(false);
}

void ServicePage::ZeemanTestOFFClick() {
    host_.SendCommand(HeadCommand::ZeemanTestOff);
    ZeemanTestON->setChecked(false);
    ZeemanTestOFF->setChecked(true);
}

void ServicePage::petlaprzyodczycieFLAGClick() {
    // The command's tick has been toggled by the menu already.
    if (!petlaprzyodczycieFLAG->isChecked()) PSTimer1->stop();
}

void ServicePage::kalibracja1Click() { host_.OpenCalibrationForm(); }

void ServicePage::PSTimer1Timer() { ShowFlagBits(); }

void ServicePage::PSTimerMiganieTimer() {
    blinkOn_ = !blinkOn_;
    const std::array<bool, 8> blink =
        cardStatus_ ? service::CardBlinkingBits(*cardStatus_) : std::array<bool, 8>{};
    for (int bit = 0; bit < 8; ++bit) {
        const QColor normal = page_->palette().color(QPalette::WindowText);
        const QColor c = blink[size_t(bit)] && blinkOn_ ? colourOf(service::kRed) : normal;
        setTextColour(cardValues_[size_t(bit)], c);
        setTextColour(cardNames_[size_t(bit)], c);
    }
}

// --- routines ---

void ServicePage::ShowFlagBits() {
    const bool shown = host_.ServicePageShown();
    if (!host_.SerialLink()) {
        setTextColour(Label1FIFO, colourOf(service::FlagTitleColour(shown, bgrOf(windowText(Label1FIFO)))));
        const uint8_t status = host_.ReadPort(0x301);
        cardStatus_ = status;
        const auto texts = service::FlagTexts(status, service::CardFlagBits());
        for (int bit = 0; bit < 8; ++bit) cardValues_[size_t(bit)]->setText(texts[size_t(bit)]);
        return;
    }
    setTextColour(Label1RS, colourOf(service::FlagTitleColour(shown, bgrOf(windowText(Label1RS)))));
    const auto texts = service::FlagTexts(instrument::LinkState().HeadStatus.load(),
                                          service::SerialFlagBits());
    for (int bit = 0; bit < 8; ++bit) serialValues_[size_t(bit)]->setText(texts[size_t(bit)]);
}

void ServicePage::RefreshFlagView() {
    // The serial flags follow the frames by themselves.
    if (host_.SerialLink()) return;
    if (petlaprzyodczycieFLAG && petlaprzyodczycieFLAG->isChecked()) {
        if (!PSTimer1->isActive()) PSTimer1->start();
        return;
    }
    ShowFlagBits();
}

void ServicePage::BlinkMeteoLabels() {
    const QColor teal = colourOf(service::kTeal);
    const QColor normal = page_->palette().color(QPalette::WindowText);
    const QColor next = windowText(meteoNames_[0]) == teal ? normal : teal;
    for (QLabel* l : meteoNames_) setTextColour(l, next);
    // The head sends its environment blocks, but nothing reads them: the first block after the
    // panel opened starts the environment reading, so the channels show what arrives. Once a
    // visit, so that a reading ended by hand on the panel stays ended.
    if (!meteoStartTried_) {
        meteoStartTried_ = true;
        if (!host_.MeteoThreadRunning()) {
            MeteoStopped = false;
            host_.StartMeteoThread();
        }
    }
}

void ServicePage::Entered() {
    meteoStartTried_ = false;
    PSTimerMiganie->start();
    PSProgressBar1->setValue(0);
}

void ServicePage::LeaveServicePanel() {
    host_.ShowPageBeforeService();
    PSTimerMiganie->stop();
}

bool ServicePage::ZeemanTestOn() const { return ZeemanTestON && ZeemanTestON->isChecked(); }

void ServicePage::ShowXyValues(int32_t alignX, int32_t alignY, int32_t detectorX, int32_t detectorY,
                               uint8_t powerX, uint8_t powerY) {
    const double v[6] = {double(alignX), double(alignY), double(detectorX), double(detectorY), double(powerX),
                         double(powerY)};
    for (int i = 0; i < 6; ++i) xyDisplays_[size_t(i)]->SetValue(v[i]);
}

void ServicePage::ShowMeteoChannel(int channel, int32_t raw) {
    if (channel < 0 || channel > 5) return;
    meteoRaw_[size_t(channel)]->setText(QString::number(raw));
    // The channel read next is highlighted.
    setTextColour(meteoNames_[size_t(channel)], page_->palette().color(QPalette::WindowText));
    setTextColour(meteoNames_[size_t((channel + 1) % 6)], colourOf(service::kTeal));
}

void ServicePage::ShowMeteoRawValues(const std::array<int32_t, 6>& raw) {
    for (int c = 0; c < 6; ++c) meteoRaw_[size_t(c)]->setText(QString::number(raw[size_t(c)]));
}

void ServicePage::ShowMeteoValues(const std::array<QString, 6>& texts) {
    for (int c = 0; c < 6; ++c) meteoValues_[size_t(c)]->setText(texts[size_t(c)]);
}

void ServicePage::SetProgress(int percent) { PSProgressBar1->setValue(percent); }

void ServicePage::ShowCommandError() { PSLabel13->setText(QStringLiteral("błąd")); }

void ServicePage::SetCommandReadyColour(uint32_t colour) {
    // The label's own colour, so it shows without a text as well.
    PSLabel13->setAutoFillBackground(true);
    QPalette p = PSLabel13->palette();
    p.setColor(QPalette::Window, colourOf(colour));
    PSLabel13->setPalette(p);
}
