#include "app/Unit_DaneMaszyny.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

#include "app/HelpWindow.h"
#include "instrument/AirCorrection.h"

namespace {

// Both separators mark the decimals; the text is then read with ".".
QString replaceSeparators(QString t) {
    const qsizetype dot = t.indexOf('.');
    if (dot >= 0) t[dot] = '.';
    const qsizetype comma = t.indexOf(',');
    if (comma >= 0) t[comma] = '.';
    return t;
}

bool isDefaultText(const QString& t) { return t.isEmpty() || t == "--"; }

std::optional<double> toNumber(const QString& t) {
    bool ok = false;
    const double v = QLocale::c().toDouble(t.trimmed(), &ok);
    if (!ok || !std::isfinite(v)) return std::nullopt;
    return v;
}

QString removeTemperatureUnit(QString t) {
    const qsizetype deg = t.indexOf(QChar(0x00B0));
    if (deg >= 0) t.remove(deg, 2);
    const qsizetype c = t.indexOf('C');
    if (c >= 0) t.remove(c, 1);
    return t;
}

}  // namespace

std::optional<double> PressureFromHeaderText(const QString& text) {
    QString t = isDefaultText(text) ? QString("1013.1 h") : text;
    t = replaceSeparators(t);
    const qsizetype h = t.indexOf('h');
    if (h >= 0) t.remove(h, 3);
    return toNumber(t);
}

std::optional<double> AirTemperatureFromHeaderText(const QString& text) {
    QString t = isDefaultText(text) ? QString("20") : text;
    return toNumber(removeTemperatureUnit(replaceSeparators(t)));
}

std::optional<double> MaterialTemperatureFromHeaderText(const QString& text) {
    QString t = replaceSeparators(text);
    if (isDefaultText(t)) t = "20";
    return toNumber(removeTemperatureUnit(t));
}


TFormDaneMaszyny::TFormDaneMaszyny(QWidget* parent) : TSSForm(parent) {
    setObjectName("FormDaneMaszyny");
    setWindowTitle("  Dane maszyny");
    setProperty("HelpContext", HelpContext);

    auto* main = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    int row = 0;
    auto addRow = [&](const char* labelName, const QString& caption, QWidget* w, QWidget* unit = nullptr) {
        auto* l = new QLabel(caption, this);
        l->setObjectName(labelName);
        l->setBuddy(w);
        grid->addWidget(l, row, 0);
        grid->addWidget(w, row, 1);
        if (unit) grid->addWidget(unit, row, 2);
        ++row;
    };
    EditTypMaszyny = new QLineEdit(this);
    EditTypMaszyny->setObjectName("EditTypMaszyny");
    EditTypMaszyny->setMaxLength(TMeasurementHeader::MachineTypeCap);
    addRow("Label1", "&Typ maszyny:", EditTypMaszyny);
    EditNumerSer = new QLineEdit(this);
    EditNumerSer->setObjectName("EditNumerSer");
    addRow("Label2", "&Numer seryjny:", EditNumerSer);
    ComboBoxOsMaszyny = new QComboBox(this);
    ComboBoxOsMaszyny->setObjectName("ComboBoxOsMaszyny");
    ComboBoxOsMaszyny->setEditable(true);
    ComboBoxOsMaszyny->addItems({"X", "Y", "Z", "X1", "X2"});
    ComboBoxOsMaszyny->setEditText("X");
    addRow("Label3", "&Oś:", ComboBoxOsMaszyny);
    EditOperator = new QLineEdit(this);
    EditOperator->setObjectName("EditOperator");
    EditOperator->setMaxLength(TMeasurementHeader::OperatorCap);
    addRow("Label4", "O&perator:", EditOperator);
    EditFirma = new QLineEdit(this);
    EditFirma->setObjectName("EditFirma");
    EditFirma->setMaxLength(TMeasurementHeader::CompanyCap);
    addRow("Label5", "&Firma:", EditFirma);
    EditPred = new QLineEdit(this);
    EditPred->setObjectName("EditPred");
    EditPred->setMaxLength(TMeasurementHeader::FeedCap);
    auto* unit = new QLabel("mm/min", this);
    unit->setObjectName("Label7");
    addRow("Label6", "Pręd. Pom.", EditPred, unit);
    MemoUwagi = new QPlainTextEdit(this);
    MemoUwagi->setObjectName("MemoUwagi");
    addRow("Label8", "&Uwagi:", MemoUwagi);
    main->addLayout(grid);
    // The notes hold at most 505 characters in all.
    connect(MemoUwagi, &QPlainTextEdit::textChanged, this, [this] {
        const QString t = MemoUwagi->toPlainText();
        if (t.size() <= NotesCapacity) return;
        QSignalBlocker block(MemoUwagi);
        MemoUwagi->setPlainText(t.left(NotesCapacity));
        QTextCursor c = MemoUwagi->textCursor();
        c.movePosition(QTextCursor::End);
        MemoUwagi->setTextCursor(c);
    });

    GroupBox1 = new QGroupBox("Dane pomiarowe:", this);
    GroupBox1->setObjectName("GroupBox1");
    auto* g = new QGridLayout(GroupBox1);
    auto addValue = [&](int r, const char* labelName, const QString& caption, QLabel*& value, const char* valueName) {
        auto* l = new QLabel(caption, GroupBox1);
        l->setObjectName(labelName);
        value = new QLabel(GroupBox1);
        value->setObjectName(valueName);
        g->addWidget(l, r, 0);
        g->addWidget(value, r, 1);
    };
    addValue(0, "Label9", "Data pomiaru:", LabelData, "LabelData");
    addValue(1, "Label10", "Wilgotność powietrza:", LabelWilgotnosc, "LabelWilgotnosc");
    addValue(2, "Label11", "Ciśnienie powietrza:", LabelCisnienie, "LabelCisnienie");
    addValue(3, "Label12", "Temperatura powietrza:", LabelTempPowietrza, "LabelTempPowietrza");
    addValue(4, "Label13", "Temperatura podłoża:", LabelTempPodloza, "LabelTempPodloza");
    GroupBox1->hide();
    main->addWidget(GroupBox1);

    auto* buttons = new QHBoxLayout;
    auto* ok = new QPushButton("&Zatwierdź", this);
    ok->setObjectName("ButtonOk");
    ok->setDefault(true);
    auto* cancel = new QPushButton("Anuluj", this);
    cancel->setObjectName("ButtonAnuluj");
    auto* help = new QPushButton("Pomo&c", this);
    help->setObjectName("ButtonPomoc");
    help->setAutoDefault(false);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(help);
    main->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, &TFormDaneMaszyny::PomocClick);

    FinishCreate();
}

void TFormDaneMaszyny::PomocClick() {
    ShowHelpContext(HelpContext);
}

void TFormDaneMaszyny::LoadHeader(const TMeasurementHeader& h, uint8_t temperatureUnit, uint8_t pressureUnit) {
    EditTypMaszyny->setText(h.MachineType);
    EditNumerSer->setText(h.SerialNumber);
    ComboBoxOsMaszyny->setEditText(h.Axis);
    EditOperator->setText(h.Operator);
    EditFirma->setText(h.Company);
    EditPred->setText(h.Feed);
    QStringList lines;
    for (const QString& n : h.Notes)
        if (!n.isEmpty()) lines << n;
    MemoUwagi->setPlainText(lines.join('\n'));

    if (h.Date.isEmpty()) {
        GroupBox1->hide();
        return;
    }
    LabelWilgotnosc->setText(h.Humidity);
    // A text that does not read as a number is shown as stored rather than blocking the dialog.
    const auto p = PressureFromHeaderText(h.Pressure);
    LabelCisnienie->setText(p ? instrument::FormatPressure(pressureUnit, *p) : h.Pressure);
    const auto ta = AirTemperatureFromHeaderText(h.AirTemperature);
    LabelTempPowietrza->setText(ta ? instrument::FormatTemperature(temperatureUnit, *ta) : h.AirTemperature);
    const auto tm = MaterialTemperatureFromHeaderText(h.MaterialTemperature);
    LabelTempPodloza->setText(tm ? instrument::FormatTemperature(temperatureUnit, *tm) : h.MaterialTemperature);
    LabelData->setText(h.Date);
    GroupBox1->show();
}

void TFormDaneMaszyny::StoreHeader(TMeasurementHeader& h) const {
    h.MachineType = CutShortString(EditTypMaszyny->text(), TMeasurementHeader::MachineTypeCap);
    h.SerialNumber = CutShortString(EditNumerSer->text(), TMeasurementHeader::SerialNumberCap);
    h.Axis = CutShortString(ComboBoxOsMaszyny->currentText(), TMeasurementHeader::AxisCap);
    h.Operator = CutShortString(EditOperator->text(), TMeasurementHeader::OperatorCap);
    h.Company = CutShortString(EditFirma->text(), TMeasurementHeader::CompanyCap);
    h.Feed = CutShortString(EditPred->text(), TMeasurementHeader::FeedCap);
    const QStringList lines = MemoUwagi->toPlainText().split('\n');
    for (int k = 0; k < TMeasurementHeader::NoteLines; ++k)
        h.Notes[size_t(k)] = k < lines.size() ? CutShortString(lines[k], TMeasurementHeader::NoteCap) : QString();
}

bool TFormDaneMaszyny::FillHeader(TMeasurementHeader& header, uint8_t temperatureUnit, uint8_t pressureUnit,
                                  QWidget* parent) {
    TFormDaneMaszyny dlg(parent);
    dlg.LoadHeader(header, temperatureUnit, pressureUnit);
    if (dlg.exec() != QDialog::Accepted) return false;
    dlg.StoreHeader(header);
    return true;
}
