#include "app/dialogs/Unit_Kalibracja.h"

#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <climits>
#include <cmath>

#include "foundations/Display.h"
#include "foundations/RealSpinEdit.h"
#include "foundations/SharedGlobals.h"
#include "instrument/KalibracjaFile.h"
#include "platform/AppPaths.h"
#include "platform/SafeSave.h"

namespace {

const char* const kChannelNames[6] = {"Temperatura powietrza", "Temperatura materiału 1", "Temperatura materiału 2",
                                      "Temperatura materiału 3", "Wilgotność", "Ciśnienie"};

// Spin edit numbers are 14 per channel: A[i] at 14(c-1)+2i+1, B[i] at 14(c-1)+2i+2.
int spinNumber(int channel0, int point, int row) { return 14 * channel0 + 2 * point + 1 + row; }

}  // namespace

TKalibracja::TKalibracja(QWidget* parent) : TSSForm(parent) {
    setObjectName("Kalibracja");
    setWindowTitle("Kalibracja");
    calibrationFile_ = QDir(platform::programDirectory()).filePath(kCalibrationFileName);
    ChooseFile = [this] {
        QFileDialog dlg(this, QString(), QFileInfo(calibrationFile_).absolutePath(), "Pliki Kalibracji (*.dat)");
        dlg.setObjectName("OpenDialog1");
        dlg.selectFile(QString::fromLatin1(kCalibrationFileName));
        dlg.setFileMode(QFileDialog::AnyFile);  // a new name creates an empty file
        return dlg.exec() == QDialog::Accepted && !dlg.selectedFiles().isEmpty() ? dlg.selectedFiles().first() : QString();
    };
    ShowMessage = [this](const QString& text) { QMessageBox::warning(this, windowTitle(), text); };

    auto* main = new QVBoxLayout(this);
    auto* table = new QGroupBox(this);
    table->setObjectName("GroupBoxTabela");
    // One column per channel and one row per coefficient: the 84 fields keep the width that
    // their largest value needs and the table still fits a 1024 x 768 screen (side by side, the
    // 14 coefficients of a channel would not).
    auto* grid = new QGridLayout(table);
    for (int i = 0; i < 7; ++i) {
        auto* h = new QLabel(QString("A[%1] / B[%1]").arg(i), table);
        h->setObjectName(QString("LabelPunkt%1").arg(i));
        grid->addWidget(h, 1 + 2 * i, 0, 2, 1);
    }
    auto* rawHead = new QLabel("Odczyt", table);
    rawHead->setObjectName("Label1");
    grid->addWidget(rawHead, 15, 0);
    for (int c = 0; c < 6; ++c) {
        auto* name = new QLabel(QString::fromUtf8(kChannelNames[c]), table);
        name->setObjectName(QString("LabelKanal%1").arg(c + 1));
        grid->addWidget(name, 0, 1 + c);
        for (int i = 0; i < 7; ++i)
            for (int row = 0; row < 2; ++row) {
                const int n = spinNumber(c, i, row);
                auto* s = new QSpinBox(table);
                s->setObjectName(QString("SpinEdit%1").arg(n));
                s->setRange(INT_MIN, INT_MAX);
                spinEdits_[size_t(n - 1)] = s;
                grid->addWidget(s, 1 + 2 * i + row, 1 + c);
                if (row == 0 && i >= 1 && i <= 5) {
                    s->installEventFilter(this);
                    if (QLineEdit* le = s->findChild<QLineEdit*>()) le->installEventFilter(this);
                }
            }
        auto* raw = new QLabel("0", table);
        raw->setObjectName(QString("Label%1").arg(c + 2));
        rawLabels_[size_t(c)] = raw;
        grid->addWidget(raw, 15, 1 + c);
    }
    main->addWidget(table);

    auto* bottom = new QHBoxLayout;
    auto* laser = new QGroupBox("Laser", this);
    laser->setObjectName("GroupBoxLaser");
    auto* lg = new QGridLayout(laser);
    auto addRow = [&](int row, const char* labelName, const QString& caption, QWidget* w) {
        auto* l = new QLabel(caption, laser);
        l->setObjectName(labelName);
        lg->addWidget(l, row, 0);
        lg->addWidget(w, row, 1);
    };
    ENazwaLasera = new QLineEdit(laser);
    ENazwaLasera->setObjectName("ENazwaLasera");
    ENazwaLasera->setMaxLength(kLaserNameCapacity);
    addRow(0, "LabelNazwaLasera", "Nazwa lasera:", ENazwaLasera);
    RSDlFali = new TRealSpinEdit(laser);
    RSDlFali->setObjectName("RSDlFali");
    RSDlFali->SetPrecision(7);
    RSDlFali->SetMinValue(1.0);
    RSDlFali->SetMaxValue(100000.0);
    RSDlFali->SetIncrement(0.0000001);
    addRow(1, "LabelDlFali", "Długość fali [nm]:", RSDlFali);
    CBGStab = new QComboBox(laser);
    CBGStab->setObjectName("CBGStab");
    for (const auto& p : StabilisationPoints) CBGStab->addItem(QString::fromUtf8(p.Item));
    CBGStab->setCurrentIndex(-1);
    addRow(2, "LabelStab", "Stabilizacja:", CBGStab);
    RSOdstep = new TRealSpinEdit(laser);
    RSOdstep->setObjectName("RSOdstep");
    RSOdstep->SetPrecision(3);
    RSOdstep->SetMinValue(-100000.0);
    RSOdstep->SetMaxValue(100000.0);
    RSOdstep->SetValue(0.0);
    addRow(3, "LabelOdstep", "Odstęp [MHz]:", RSOdstep);
    auto* bCalc = new QPushButton("Oblicz długość fali", laser);
    bCalc->setObjectName("BObliczDlFali");
    lg->addWidget(bCalc, 4, 1);
    bottom->addWidget(laser);

    auto* xy = new QGroupBox("XY", this);
    xy->setObjectName("GroupBoxXY");
    auto* xg = new QGridLayout(xy);
    DispOfsetX = new TDisplay(xy);
    DispOfsetX->setObjectName("DispOfsetX");
    DispOfsetX->SetPrecision(0);
    DispOfsetY = new TDisplay(xy);
    DispOfsetY->setObjectName("DispOfsetY");
    DispOfsetY->SetPrecision(0);
    rseKalibbracjaXY = new TRealSpinEdit(xy);
    rseKalibbracjaXY->setObjectName("rseKalibbracjaXY");
    rseKalibbracjaXY->SetPrecision(1);
    // The detector's readings are divided by the scale, so it never reaches 0.
    rseKalibbracjaXY->SetMinValue(0.1);
    rseKalibbracjaXY->SetMaxValue(1.0e6);
    rseKalibbracjaXY->SetIncrement(0.1);
    auto* lx = new QLabel("X:", xy);
    lx->setObjectName("LabelOfsetX");
    auto* ly = new QLabel("Y:", xy);
    ly->setObjectName("LabelOfsetY");
    auto* lk = new QLabel("Kalibracja XY:", xy);
    lk->setObjectName("LabelKalibracjaXY");
    xg->addWidget(lx, 0, 0);
    xg->addWidget(DispOfsetX, 0, 1);
    xg->addWidget(ly, 1, 0);
    xg->addWidget(DispOfsetY, 1, 1);
    auto* bStore = new QPushButton("Zapamiętaj", xy);
    bStore->setObjectName("BZapamietaj");
    xg->addWidget(bStore, 2, 1);
    xg->addWidget(lk, 3, 0);
    xg->addWidget(rseKalibbracjaXY, 3, 1);
    bottom->addWidget(xy);

    auto* buttons = new QVBoxLayout;
    auto* bSave = new QPushButton("&Zapis Pliku", this);
    bSave->setObjectName("BZapisPliku");
    auto* bLoad = new QPushButton("O&dczyt Pliku", this);
    bLoad->setObjectName("BOdczytPliku");
    auto* bStart = new QPushButton("&Start", this);
    bStart->setObjectName("BStart");
    auto* bEnd = new QPushButton("&Koniec", this);
    bEnd->setObjectName("BKoniec");
    for (QPushButton* b : {bSave, bLoad, bStart, bEnd}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    bCalc->setAutoDefault(false);
    bStore->setAutoDefault(false);
    buttons->addStretch();
    bottom->addLayout(buttons);
    main->addLayout(bottom);

    connect(bSave, &QPushButton::clicked, this, [this] { ZapisPlikuClick(); });
    connect(bLoad, &QPushButton::clicked, this, &TKalibracja::OdczytPlikuClick);
    connect(bStart, &QPushButton::clicked, this, &TKalibracja::StartClick);
    connect(bEnd, &QPushButton::clicked, this, &TKalibracja::KoniecClick);
    connect(bCalc, &QPushButton::clicked, this, &TKalibracja::ObliczDlugoscFaliClick);
    connect(bStore, &QPushButton::clicked, this, &TKalibracja::ZapamietajClick);

    showValues();
    setWindowState(windowState() | Qt::WindowMaximized);
    FinishCreate();
}

TKalibracja::~TKalibracja() { stopReading(); }

QSpinBox* TKalibracja::SpinEdit(int number) const {
    return number >= 1 && number <= 84 ? spinEdits_[size_t(number - 1)] : nullptr;
}

void TKalibracja::showValues() {
    DispOfsetX->SetValue(OffsetX);
    DispOfsetY->SetValue(OffsetY);
    RSDlFali->SetValue(LaserWavelength * 1e9);
    ENazwaLasera->setText(LaserName);
    rseKalibbracjaXY->SetValue(CalibrationXY);
    for (int c = 0; c < 6; ++c)
        for (int i = 0; i < 7; ++i)
            for (int row = 0; row < 2; ++row) SpinEdit(spinNumber(c, i, row))->setValue(CalibrationTable[c][row][i]);
}

void TKalibracja::OdczytPlikuClick() {
    const QString path = ChooseFile ? ChooseFile() : QString();
    if (path.isEmpty()) return;
    LoadFile(path);
}

void TKalibracja::LoadFile(const QString& path) {
    calibrationFile_ = path;
    TCalibrationData d;
    switch (ReadCalibrationFile(path, d)) {
    case CalibrationStatus::Missing: {
        // A missing file is created empty, so the next save has its place.
        const QString failure = platform::SaveBytes(path, QByteArray());
        if (!failure.isEmpty() && ShowMessage) ShowMessage(failure);
        return;
    }
    case CalibrationStatus::Empty:
        return;
    case CalibrationStatus::Damaged:
    case CalibrationStatus::Unreadable:
        if (ShowMessage) ShowMessage(CalibrationMissingMessage());
        return;
    case CalibrationStatus::Loaded:
        break;
    }
    ApplyCalibrationToGlobals(d);
    showValues();
}

bool TKalibracja::ZapisPlikuClick() {
    for (int c = 0; c < 6; ++c)
        for (int i = 0; i < 7; ++i)
            for (int row = 0; row < 2; ++row) CalibrationTable[c][row][i] = SpinEdit(spinNumber(c, i, row))->value();
    LaserWavelength = RSDlFali->Value() * 1e-9;
    LaserName = ENazwaLasera->text().left(kLaserNameCapacity);
    CalibrationXY = rseKalibbracjaXY->Value();
    QString error;
    if (!WriteCalibrationFile(calibrationFile_, CalibrationFromGlobals(), &error)) {
        if (ShowMessage) ShowMessage(calibrationFile_ + "\n" + error);
        return false;
    }
    return true;
}

void TKalibracja::StartClick() {
    CalibrationFormOpen = true;
    MeteoStopped = false;
    emit meteoReadingRequested();
}

void TKalibracja::stopReading() {
    MeteoStopped = true;
    CalibrationFormOpen = false;
}

void TKalibracja::KoniecClick() {
    stopReading();
    reject();
}

void TKalibracja::done(int r) {
    // Closing by the title bar or Escape must also hand the environment readings back.
    stopReading();
    TSSForm::done(r);
}

void TKalibracja::ObliczDlugoscFaliClick() {
    const int i = CBGStab->currentIndex();
    if (i < 0) {
        if (ShowMessage) ShowMessage("Podaj gdzie stabilizuje!!");
        CBGStab->setFocus();
        return;
    }
    RSDlFali->SetValue(StabilisationWavelengthNm(i, RSOdstep->Value()));
}

void TKalibracja::ZapamietajClick() {
    OffsetX = static_cast<int32_t>(std::nearbyint(DispOfsetX->Value()));
    OffsetY = static_cast<int32_t>(std::nearbyint(DispOfsetY->Value()));
}

void TKalibracja::SpinEditClick(int number) {
    if (number < 1 || number > 84) return;
    const int c = (number - 1) / 14;
    const int k = (number - 1) % 14;  // 2i for A[i], 2i+1 for B[i]
    if (k % 2 != 0) return;
    const int i = k / 2;
    if (i < 1 || i > 5) return;
    SpinEdit(number)->setValue(meteoCounts_[size_t(c)]);
}

void TKalibracja::ShowMeteoCounts(const std::array<int32_t, 6>& counts) {
    meteoCounts_ = counts;
    for (int c = 0; c < 6; ++c) rawLabels_[size_t(c)]->setText(QString::number(counts[size_t(c)]));
}

void TKalibracja::ShowDetectorPosition(double x, double y) {
    if (std::isfinite(x)) DispOfsetX->SetValue(x);
    if (std::isfinite(y)) DispOfsetY->SetValue(y);
}

void TKalibracja::showEvent(QShowEvent* e) {
    TSSForm::showEvent(e);
    // The file is chosen once when the form opens; reloading on every activation would put
    // the open dialog up again each time it or a message box closes.
    if (!loadedOnShow_) {
        loadedOnShow_ = true;
        QMetaObject::invokeMethod(this, &TKalibracja::OdczytPlikuClick, Qt::QueuedConnection);
    }
}

bool TKalibracja::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        for (int n = 1; n <= 84; ++n) {
            QSpinBox* s = spinEdits_[size_t(n - 1)];
            if (watched == s || watched->parent() == s) {
                SpinEditClick(n);
                break;
            }
        }
    }
    return TSSForm::eventFilter(watched, event);
}
