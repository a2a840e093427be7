// The recording window: the timed log, the all-samples mode, saving, and the closing question.
#include "app/rejstracja.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QHeaderView>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>
#include <exception>

#include "app/DialogParts.h"
#include "app/PunktyPoz.h"
#include "evaluation/MeasurementFiles.h"
#include "evaluation/TextExports.h"
#include "foundations/Display.h"
#include "foundations/HeadList.h"
#include "foundations/LocaleTable.h"
#include "foundations/MessageDlg.h"
#include "foundations/SharedGlobals.h"

TFRejestracja* FRejestracja = nullptr;

namespace {

QString msgText(const char* key, const char* polish) {
    return TranslateString(QString::fromLatin1(key), QString::fromUtf8(polish));
}

QSpinBox* spin(QWidget* parent, const char* name, int max, int value) {
    auto* s = new QSpinBox(parent);
    s->setObjectName(QString::fromLatin1(name));
    s->setRange(0, max);
    s->setValue(value);
    return s;
}

// The system's short date and the time to the second (rows a second apart must differ).
QString dateTimeText(const QDateTime& t) {
    const QLocale l = foundations::systemLocale();
    return l.toString(t.date(), QLocale::ShortFormat) + u' ' + t.time().toString(QStringLiteral("HH:mm:ss"));
}

// Focus entering the seconds: SPSekundaEnter.
class FocusIn final : public QObject {
public:
    FocusIn(TFRejestracja& form) : QObject(&form), form_(form) {}

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::FocusIn) form_.SPSekundaEnter();
        return false;
    }

private:
    TFRejestracja& form_;
};

}  // namespace

TFRejestracja::TFRejestracja(RecordingSource& source, QWidget* parent) : TSSForm(parent), source_(source) {
    setObjectName(QStringLiteral("FRejestracja"));
    setWindowTitle(QStringLiteral("Rejestracja"));
    setProperty("HelpContext", HelpContext);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    auto* main = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    auto* timeBox = new QGridLayout;
    // Named so that the language file reaches them.
    const char* const timeNames[3][2] = {{"LabelGodziny", "Godziny"}, {"LabelMinuty", "Minuty"}, {"LabelSekundy", "Sekundy"}};
    for (int i = 0; i < 3; ++i) {
        auto* l = new QLabel(QString::fromLatin1(timeNames[i][1]), this);
        l->setObjectName(QString::fromLatin1(timeNames[i][0]));
        timeBox->addWidget(l, 0, i);
    }
    SPGodzina = spin(this, "SPGodzina", 12, 0);
    SPMinuta = spin(this, "SPMinuta", 59, 0);
    SPSekunda = spin(this, "SPSekunda", 59, 1);
    timeBox->addWidget(SPGodzina, 1, 0);
    timeBox->addWidget(SPMinuta, 1, 1);
    timeBox->addWidget(SPSekunda, 1, 2);
    top->addLayout(timeBox);
    CBWszystkie = new QCheckBox(QStringLiteral("&Wszystkie próbki"), this);
    CBWszystkie->setObjectName(QStringLiteral("CBWszystkie"));
    top->addWidget(CBWszystkie);
    top->addStretch(1);
    auto* count = new QVBoxLayout;
    auto* countLabel = new QLabel(QStringLiteral("Liczba próbek:"), this);
    countLabel->setObjectName(QStringLiteral("Label1"));
    count->addWidget(countLabel);
    Display1 = new TDisplay(this);
    Display1->setObjectName(QStringLiteral("Display1"));
    Display1->SetPrecision(0);
    Display1->setMinimumSize(140, 36);
    count->addWidget(Display1);
    top->addLayout(count);
    main->addLayout(top);

    ListaPomiarow = new THeaderListbox(this);
    ListaPomiarow->setObjectName(QStringLiteral("ListaPomiarow"));
    QList<THeaderSection> sections;
    for (auto [text, width] : {std::pair{"Nr", 40}, std::pair{"Czas", 150}, std::pair{"Wartość", 110}, std::pair{"H", 40},
                               std::pair{"P", 70}, std::pair{"T", 60}, std::pair{"T1", 60}, std::pair{"T2", 60},
                               std::pair{"T3", 60}}) {
        THeaderSection s;
        s.text = QString::fromUtf8(text);
        s.width = width;
        sections << s;
    }
    ListaPomiarow->SetSections(sections);
    ListaPomiarow->SetDelimChar(u';');
    ListaPomiarow->setMinimumSize(680, 260);
    ListaPomiarow->header()->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    main->addWidget(ListaPomiarow, 1);

    BStart = NamedButton(this, "BStart", QStringLiteral("Start"));
    BStop = NamedButton(this, "BStop", QStringLiteral("Stop"));
    BWyczysc = NamedButton(this, "BWyczysc", QStringLiteral("Wyczyść"));
    BZapis = NamedButton(this, "BZapis", QStringLiteral("&Zapis do pliku"));
    BKoniec = NamedButton(this, "BKoniec", QStringLiteral("&Koniec rejstracji"));
    ButtonPomoc = NamedButton(this, "ButtonPomoc", QStringLiteral("Pomo&c"));
    for (QPushButton* b : {BStart, BStop, BWyczysc, BZapis, BKoniec, ButtonPomoc}) b->setAutoDefault(false);
    main->addLayout(ButtonRow({BStart, BStop, BWyczysc, BZapis, BKoniec, ButtonPomoc}));

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(200);

    for (QSpinBox* s : {SPGodzina, SPMinuta, SPSekunda})
        connect(s, &QSpinBox::valueChanged, this, [this](int) { SPGodzinaChange(); });
    SPSekunda->installEventFilter(new FocusIn(*this));
    connect(CBWszystkie, &QCheckBox::clicked, this, &TFRejestracja::CBWszystkieClick);
    connect(BStart, &QPushButton::clicked, this, &TFRejestracja::BStartClick);
    connect(BStop, &QPushButton::clicked, this, &TFRejestracja::BStopClick);
    connect(BWyczysc, &QPushButton::clicked, this, &TFRejestracja::BWyczyscClick);
    connect(BZapis, &QPushButton::clicked, this, [this] { BZapisClick(); });
    connect(BKoniec, &QPushButton::clicked, this, &TFRejestracja::BKoniecClick);
    connect(ButtonPomoc, &QPushButton::clicked, this, &TFRejestracja::ButtonPomocClick);
    connect(Timer1, &QTimer::timeout, this, &TFRejestracja::Timer1Timer);

    FormCreate();
    FinishCreate();
    Timer1->start();
}

TFRejestracja::~TFRejestracja() {
    // No sample goes on into the collection once the window is gone.
    RecordingOn = false;
}

void TFRejestracja::FormCreate() {
    interval_ = NormalizedInterval(SPGodzina->value(), SPMinuta->value(), SPSekunda->value());
    timedOn_ = false;
    ListaPomiarow->SetSectionText(0, msgText("stNr", "Nr"));
    ListaPomiarow->SetSectionText(1, msgText("stCzas", "Czas"));
    ListaPomiarow->SetSectionText(2, msgText("stWartosc", "Wartość"));
}

void TFRejestracja::SPGodzinaChange() {
    if (SPGodzina->value() == 0 && SPMinuta->value() == 0 && SPSekunda->value() == 0) SPSekunda->setValue(1);
    interval_ = NormalizedInterval(SPGodzina->value(), SPMinuta->value(), SPSekunda->value());
}

void TFRejestracja::SPSekundaEnter() {
    SPSekunda->setMinimum(SPGodzina->value() == 0 && SPMinuta->value() == 0 ? 1 : 0);
}

bool TFRejestracja::allSamples() const { return CBWszystkie->isChecked(); }

void TFRejestracja::CBWszystkieClick() {
    const bool timed = !allSamples();
    SPGodzina->setEnabled(timed);
    SPMinuta->setEnabled(timed);
    ListaPomiarow->setVisible(timed);
    showCount();
}

bool TFRejestracja::MayClearSamples() {
    const TVelValue& samples = source_.Samples();
    const bool unsaved = samples.Count() > 0 && (samplesUnsaved_ || !VelocityDataSaved);
    if (!unsaved) return true;
    const int answer = MessageDlg(msgText("stUsunProbki", "Próbki w pamięci nie są zapisane. Usunąć je i zacząć nowy zapis?"),
                                  TMsgDlgType::mtConfirmation, mbYes | mbNo);
    if (answer != mrYes) return false;
    VelocityDataSaved = true;  // dropped on the inspector's word
    return true;
}

void TFRejestracja::BStartClick() {
    if (allSamples()) {
        if (!MayClearSamples()) return;
        Display1->SetValue(0);
        RecordingTicks = 0;
        source_.Samples().Clear();
        samplesUnsaved_ = true;
        RecordingOn = true;
    } else {
        timedOn_ = true;
        AddRow(QDateTime::currentDateTime());
    }
    BStart->setEnabled(false);
    CBWszystkie->setEnabled(false);
    BWyczysc->setEnabled(false);
}

void TFRejestracja::BStopClick() {
    RecordingOn = false;
    timedOn_ = false;
    BStart->setEnabled(true);
    CBWszystkie->setEnabled(true);
    BWyczysc->setEnabled(true);
}

void TFRejestracja::BWyczyscClick() {
    if (!log_.Saved() && !log_.Rows().isEmpty()) {
        const int answer = MessageDlg(msgText("stUsunWiersze", "Wiersze nie są zapisane. Usunąć je?"),
                                      TMsgDlgType::mtConfirmation, mbYes | mbNo);
        if (answer != mrYes) return;
    }
    ListaPomiarow->ClearItems();
    log_.Clear();
    showCount();
}

bool TFRejestracja::BZapisClick() { return save(allSamples()); }

bool TFRejestracja::save(bool samples) {
    FileDialogSettings s;
    s.Filter = msgText("stTextFiles", "Pliki tekstowe") + QStringLiteral("|*.txt|") + msgText("stAllFiles", "Wszystkie pliki") +
               QStringLiteral("|*.*");
    s.DefaultExt = QStringLiteral(".txt");
    const std::optional<QString> chosen = RunFileDialog(this, s, true);
    if (!chosen) return false;  // cancelled: still unsaved
    QString name = *chosen;
    if (QFileInfo(name).suffix().isEmpty()) name += s.DefaultExt;
    QString failure;
    if (!samples) {
        failure = WriteRecordingRows(log_.Rows(), name);
        if (failure.isEmpty()) log_.MarkSaved();
    } else {
        BStopClick();
        try {
            ExportRecordingText(source_.Samples(), name);
            samplesUnsaved_ = false;
        } catch (const MeasurementFileError& e) {
            failure = e.message();
        } catch (const std::exception& e) {
            failure = QString::fromLocal8Bit(e.what());
        }
    }
    if (!failure.isEmpty()) {
        MessageDlg(failure, TMsgDlgType::mtError, mbOK);
        return false;
    }
    return true;
}

void TFRejestracja::BKoniecClick() { close(); }
void TFRejestracja::ButtonPomocClick() { ShowHelpContext(HelpContext); }

void TFRejestracja::Timer1Timer() {
    showCount();
    if (!allSamples() && timedOn_ && RecordingRowDue(lastRow_, interval_, QDateTime::currentDateTime())) {
        AddRow(QDateTime::currentDateTime());
    }
}

void TFRejestracja::AddRow(const QDateTime& t) {
    lastRow_ = t;
    if (!timedOn_) return;
    const QString row = RecordingRowText(log_.NextNumber(), dateTimeText(t), source_.ShownValue(),
                                         source_.ShownDecimals(), source_.EnvironmentTexts());
    log_.AddRow(row);
    ListaPomiarow->AddItem(row);
    ListaPomiarow->SetItemIndex(ListaPomiarow->Count() - 1);
    showCount();
}

void TFRejestracja::showCount() {
    Display1->SetValue(RecordingCountShown(allSamples(), RecordingTicks.load(), log_));
}

void TFRejestracja::AddErrorRow() {
    const QString row = RecordingErrorRowText(dateTimeText(QDateTime::currentDateTime()), msgText("stBlad", "Błąd"));
    log_.AddErrorRow(row);
    ListaPomiarow->AddItem(row);
    ListaPomiarow->SetItemIndex(ListaPomiarow->Count() - 1);
    BStopClick();
}

bool TFRejestracja::FormCloseQuery() {
    const bool rows = !log_.Saved();
    const bool samples = samplesUnsaved_ && source_.Samples().Count() > 0;
    if (!rows && !samples) return true;
    const int answer = MessageDlg(msgText("stPomZapis", "Pomiary nie zapisane!! Czy chcesz je zapisać?"),
                                  TMsgDlgType::mtConfirmation, mbYes | mbNo | mbCancel);
    if (answer == mrCancel) return false;
    if (answer == mrNo) return true;
    // Each kind that is unsaved is written; a cancelled or failed write keeps the window open.
    if (samples && !save(true)) return false;
    if (rows && !save(false)) return false;
    return true;
}

void TFRejestracja::reject() {
    if (!FormCloseQuery()) return;
    BStopClick();
    Timer1->stop();
    TSSForm::reject();
}

void RunRecordingWindow(RecordingSource& source, QWidget* parent) {
    TFRejestracja window(source, parent);
    FRejestracja = &window;
    window.exec();
    FRejestracja = nullptr;
}
