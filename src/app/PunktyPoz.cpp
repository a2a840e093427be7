#include "app/PunktyPoz.h"

#include <algorithm>

#include "app/HelpWindow.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QFileInfo>
#include <QFocusEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>
#include <cmath>

#include "evaluation/PointLists.h"
#include "evaluation/TargetPoints.h"
#include "foundations/MSpinEdit.h"
#include "foundations/MessageDlg.h"
#include "foundations/NumberFormat.h"
#include "foundations/ProgramMessages.h"
#include "foundations/RealSpinEdit.h"
#include "platform/AppPaths.h"
#include "platform/Registry.h"

namespace {

const QString kKey = QStringLiteral("SOFTWARE\\Brantova\\VKM30");
const QString kOptionsKey = QStringLiteral("SOFTWARE\\Brantova\\VKM30\\Options");
constexpr int kHelpContext = 118;

FileDialogHook& fileDialogHook() {
    static FileDialogHook hook;
    return hook;
}

double readBinaryDouble(const QString& name) {
    const auto bytes = platform::appRegistry().readBinary(kKey, name);
    if (!bytes || bytes->size() != 8) return 0.0;
    const double v = foundations::getDoubleLE(reinterpret_cast<const unsigned char*>(bytes->constData()));
    return std::isfinite(v) ? v : 0.0;
}

void writeBinaryDouble(const QString& name, double v) {
    unsigned char b[8];
    foundations::putDoubleLE(b, std::isfinite(v) ? v : 0.0);
    platform::appRegistry().writeBinary(kKey, name, QByteArray(reinterpret_cast<char*>(b), 8));
}

// Cell editors pass every key through the form's key check.
class GridKeyDelegate : public QStyledItemDelegate {
public:
    GridKeyDelegate(QObject* filter, QObject* parent) : QStyledItemDelegate(parent), filter_(filter) {}
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* ed = QStyledItemDelegate::createEditor(parent, option, index);
        ed->setProperty("gridCellEditor", true);
        ed->installEventFilter(filter_);
        return ed;
    }

private:
    QObject* filter_;
};

}  // namespace

void setFileDialogHook(FileDialogHook hook) { fileDialogHook() = std::move(hook); }

QString QtNameFilters(const QString& filter) {
    const QStringList parts = filter.split(u'|');
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString desc = parts[i];
        out << (desc.contains(u'(') ? desc
                                    : desc + QStringLiteral(" (") + QString(parts[i + 1]).replace(u';', u' ') + u')');
    }
    return out.join(QStringLiteral(";;"));
}

std::optional<QString> RunFileDialog(QWidget* parent, const FileDialogSettings& s, bool save) {
    if (fileDialogHook()) return fileDialogHook()(s, save);
    QFileDialog dlg(parent, QString(), s.InitialDir);
    dlg.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dlg.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    const QStringList filters = QtNameFilters(s.Filter).split(QStringLiteral(";;"), Qt::SkipEmptyParts);
    dlg.setNameFilters(filters);
    if (s.FilterIndex >= 1 && s.FilterIndex <= filters.size()) dlg.selectNameFilter(filters[s.FilterIndex - 1]);
    if (!s.DefaultExt.isEmpty()) dlg.setDefaultSuffix(s.DefaultExt.mid(s.DefaultExt.startsWith(u'.') ? 1 : 0));
    if (!s.FileName.isEmpty()) dlg.selectFile(s.FileName);
    // Qt's own dialog opens small, with fixed column widths that cut types and dates off: it
    // takes most of the screen it opens on (within a dialog's size on a large screen), and each
    // folder read fits the size, type and date columns to their contents, the name taking the
    // rest. Its list is Qt's, with no other way to it than its own children.
    if (const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen()) {
        const QRect avail = screen->availableGeometry();
        dlg.resize(std::min(avail.width() * 9 / 10, 960), std::min(avail.height() * 8 / 10, 620));
    }
    for (QTreeView* list : dlg.findChildren<QTreeView*>()) {
        auto* files = qobject_cast<QFileSystemModel*>(list->model());
        if (!files) continue;
        QObject::connect(files, &QFileSystemModel::directoryLoaded, list, [list] {
            QTimer::singleShot(0, list, [list] {
                QHeaderView* header = list->header();
                for (int c = 1; c < header->count(); ++c) list->resizeColumnToContents(c);
                header->setSectionResizeMode(0, QHeaderView::Stretch);
            });
        });
    }
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return std::nullopt;
    return dlg.selectedFiles().first();
}

TFPunktyPoz::TFPunktyPoz(QWidget* parent) : TSSForm(parent) {
    setObjectName(QStringLiteral("FPunktyPoz"));
    setWindowTitle(QStringLiteral("Punkty Pozycjonowania"));
    setProperty("HelpContext", kHelpContext);

    auto* label1 = new QLabel(QStringLiteral("&Tabela punktów"), this);
    label1->setObjectName(QStringLiteral("Label1"));
    PunktyGrid = new QTableWidget(this);
    PunktyGrid->setObjectName(QStringLiteral("PunktyGrid"));
    PunktyGrid->setColumnCount(2);
    PunktyGrid->horizontalHeader()->hide();
    PunktyGrid->verticalHeader()->hide();
    PunktyGrid->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    PunktyGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    PunktyGrid->setItemDelegate(new GridKeyDelegate(this, PunktyGrid));
    PunktyGrid->setMinimumWidth(260);
    // The columns fill the table (layoutColumns): no sideways scrolling; rows as high as the
    // text, so that a dozen points show at once.
    PunktyGrid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    PunktyGrid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    PunktyGrid->verticalHeader()->setDefaultSectionSize(PunktyGrid->fontMetrics().height() + 6);
    PunktyGrid->setMinimumHeight((PunktyGrid->fontMetrics().height() + 6) * 12 + 4);
    label1->setBuddy(PunktyGrid);
    // Queued: the edit has ended and the table may be rebuilt outside its own signal.
    connect(PunktyGrid, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* it) {
        if (filling_) return;
        const int col = it->column(), row = it->row();
        const QString text = it->text();
        QMetaObject::invokeMethod(this, [this, col, row, text] { PunktyGridSetEditText(col, row, text); },
                                  Qt::QueuedConnection);
    });

    auto makeReal = [this](const char* name, double min, double max, double step) {
        auto* e = new TRealSpinEdit(this);
        e->setObjectName(QString::fromLatin1(name));
        e->SetMinValue(min);
        e->SetMaxValue(max);
        e->SetPrecision(4);
        e->SetIncrement(step);
        e->installEventFilter(this);
        return e;
    };
    StartPointEdit = makeReal("StartPointEdit", -kTargetValueLimit, kTargetValueLimit, 1);
    SpinEditDystans = makeReal("SpinEditDystans", 0, kTargetValueLimit, 1);
    SpinEditDystans->SetMinus(false);
    SpinEditOdstep = makeReal("SpinEditOdstep", 0, kTargetValueLimit, 0.001);
    SpinEditOdstep->SetMinus(false);
    SpinEditIloscPunktow = new TMSpinEdit(this);
    SpinEditIloscPunktow->setObjectName(QStringLiteral("SpinEditIloscPunktow"));
    SpinEditIloscPunktow->setRange(kMinTargetPoints, kMaxTargetPoints);

    auto* label5 = new QLabel(QStringLiteral("&Punkt startowy"), this);
    label5->setObjectName(QStringLiteral("Label5"));
    label5->setBuddy(StartPointEdit);
    label6 = new QLabel(QStringLiteral("&Dystans"), this);
    label6->setObjectName(QStringLiteral("Label6"));
    label6->setBuddy(SpinEditDystans);
    RadioButtonOdstep = new QRadioButton(QStringLiteral("Od&stęp"), this);
    RadioButtonOdstep->setObjectName(QStringLiteral("RadioButtonOdstep"));
    RadioButtonOdstep->setChecked(true);
    RadioButtonIloscPunktow = new QRadioButton(QStringLiteral("&Ilość punktów"), this);
    RadioButtonIloscPunktow->setObjectName(QStringLiteral("RadioButtonIloscPunktow"));
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label3 = new QLabel(this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label4 = new QLabel(this);
    Label4->setObjectName(QStringLiteral("Label4"));

    auto makeButton = [this](const char* name, const QString& text) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        return b;
    };
    auto* ButtonOblicz = makeButton("ButtonOblicz", QStringLiteral("O&blicz"));
    auto* ButtonWczytaj = makeButton("ButtonWczytaj", QStringLiteral("&Wczytaj"));
    auto* ButtonZapisz = makeButton("ButtonZapisz", QStringLiteral("&Zapisz"));
    auto* ButtonUsunPunkt = makeButton("ButtonUsunPunkt", QString::fromUtf8("&Usuń punkt"));
    ButtonUsunPunkt->setToolTip(QString::fromUtf8("Usuń Punkt"));
    auto* ButtonUsunWszystkie = makeButton("ButtonUsunWszystkie", QString::fromUtf8("Usuń wszyst&kie"));
    auto* BitBtnOk = makeButton("BitBtnOk", QStringLiteral("OK"));
    BitBtnOk->setDefault(true);
    auto* BitBtnAnuluj = makeButton("BitBtnAnuluj", QStringLiteral("Anuluj"));
    auto* BitBtnPomoc = makeButton("BitBtnPomoc", QStringLiteral("Pomo&c"));
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->hide();
    Image2 = new QLabel(this);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->hide();

    connect(ButtonOblicz, &QPushButton::clicked, this, &TFPunktyPoz::ButtonObliczClick);
    connect(ButtonWczytaj, &QPushButton::clicked, this, &TFPunktyPoz::ButtonWczytajClick);
    connect(ButtonZapisz, &QPushButton::clicked, this, &TFPunktyPoz::ButtonZapiszClick);
    connect(ButtonUsunPunkt, &QPushButton::clicked, this, &TFPunktyPoz::ButtonUsunPunktClick);
    connect(ButtonUsunWszystkie, &QPushButton::clicked, this, &TFPunktyPoz::ButtonUsunWszystkieClick);
    connect(BitBtnOk, &QPushButton::clicked, this, &TFPunktyPoz::BitBtnOkClick);
    connect(BitBtnAnuluj, &QPushButton::clicked, this, &QDialog::reject);
    connect(BitBtnPomoc, &QPushButton::clicked, this, &TFPunktyPoz::BitBtnPomocClick);

    auto* fields = new QGridLayout;
    fields->addWidget(label5, 0, 0);
    fields->addWidget(StartPointEdit, 0, 1);
    fields->addWidget(Label2, 0, 2);
    fields->addWidget(label6, 1, 0);
    fields->addWidget(SpinEditDystans, 1, 1);
    fields->addWidget(Label3, 1, 2);
    fields->addWidget(RadioButtonOdstep, 2, 0);
    fields->addWidget(SpinEditOdstep, 2, 1);
    fields->addWidget(Label4, 2, 2);
    fields->addWidget(RadioButtonIloscPunktow, 3, 0);
    fields->addWidget(SpinEditIloscPunktow, 3, 1);
    fields->addWidget(ButtonOblicz, 4, 1);
    fields->addWidget(Image1, 5, 0, 1, 3);
    fields->addWidget(Image2, 6, 0, 1, 3);
    fields->setRowStretch(7, 1);
    auto* gridCol = new QVBoxLayout;
    gridCol->addWidget(label1);
    gridCol->addWidget(PunktyGrid, 1);
    auto* listButtons = new QHBoxLayout;
    listButtons->addWidget(ButtonWczytaj);
    listButtons->addWidget(ButtonZapisz);
    listButtons->addWidget(ButtonUsunPunkt);
    listButtons->addWidget(ButtonUsunWszystkie);
    gridCol->addLayout(listButtons);
    auto* top = new QHBoxLayout;
    top->addLayout(gridCol, 1);
    top->addLayout(fields);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(BitBtnOk);
    bottom->addWidget(BitBtnAnuluj);
    bottom->addWidget(BitBtnPomoc);
    auto* main = new QVBoxLayout(this);
    main->addLayout(top, 1);
    main->addLayout(bottom);

    FinishCreate();
    distanceCaption_ = label6->text();  // as the language file gives it
}

TFPunktyPoz::~TFPunktyPoz() { FormDestroy(); }

void TFPunktyPoz::beep() {
    ++BeepCount;
    QApplication::beep();
}

QString TFPunktyPoz::UnitText() const {
    if (ListUnit == 1) return QStringLiteral("[in]");
    return ListKind == 1 ? QStringLiteral("[mm]") : QStringLiteral("[deg]");
}

QString TFPunktyPoz::ListExt() const {
    return QString::fromLatin1(ListKind == 1 ? kPositionListExt : kAngularListExt);
}

QString TFPunktyPoz::ListFilter() const {
    const QString ext = ListExt();
    return Msg(ListKind == 1 ? QStringLiteral("stPlikiPunkty") : QStringLiteral("stPlikiPunktyPK")) +
           QStringLiteral(" (*") + ext + QStringLiteral(")|*") + ext + QStringLiteral("|") +
           Msg(QStringLiteral("stAllFiles")) + QStringLiteral(" (*.*)|*.*");
}

void TFPunktyPoz::Prepare(const TPunkt& points, double start, uint8_t kind, int32_t unit,
                          uint8_t picture, const QString& pointListDir) {
    ListKind = kind;
    PatternPicture = picture;
    ListUnit = kind == 0 ? 0 : unit;  // angles stay in degrees in every unit mode
    // An angular list spans an angle, not a distance.
    label6->setText(kind == 0 ? QStringLiteral("&") + Msg(QStringLiteral("stKat")) : distanceCaption_);
    PointListDir = pointListDir;
    WorkPoints = points;
    if (ListUnit == 1) ScaleTargetPoints(WorkPoints, kMmToInch);
    FillGrid();
    StartPointEdit->SetValue(start);
    FormShow();
}

TPunkt TFPunktyPoz::ResultPoints() const {
    TPunkt out = WorkPoints;
    if (ListUnit == 1) ScaleTargetPoints(out, kInchToMm);
    return out;
}

double TFPunktyPoz::ResultStart() const { return StartPointEdit->Value(); }

void TFPunktyPoz::FormShow() {
    const double dist = readBinaryDouble(QStringLiteral("FPDist"));
    const double interval = readBinaryDouble(QStringLiteral("FPInt"));
    bool ok = false;
    int n = platform::appRegistry().readString(kOptionsKey, QStringLiteral("FPPNr")).value_or(QString()).toInt(&ok);
    if (!ok) n = 5;
    SpinEditIloscPunktow->setValue(n);
    const double f = ListUnit == 1 ? kMmToInch : 1.0;
    SpinEditDystans->SetValue(dist * f);
    SpinEditOdstep->SetValue(interval * f);
    const QString unit = UnitText();
    Label2->setText(unit);
    Label3->setText(unit);
    Label4->setText(unit);
    Image1->setVisible(ListKind == 1 && PatternPicture == 0);
    Image2->setVisible(ListKind == 1 && PatternPicture != 0);
}

void TFPunktyPoz::FormDestroy() {
    if (destroyed_) return;
    destroyed_ = true;
    const double f = ListUnit == 1 ? kInchToMm : 1.0;
    writeBinaryDouble(QStringLiteral("FPDist"), SpinEditDystans->Value() * f);
    writeBinaryDouble(QStringLiteral("FPInt"), SpinEditOdstep->Value() * f);
    platform::appRegistry().writeInteger(kOptionsKey, QStringLiteral("FPPNr"), SpinEditIloscPunktow->value());
    platform::appRegistry().sync();
}

void TFPunktyPoz::FillGrid() {
    filling_ = true;
    const int n = WorkPoints.Count();
    PunktyGrid->clearContents();
    PunktyGrid->setRowCount(n + 2);
    auto cell = [this](int row, int col, const QString& text, bool editable) {
        auto* it = new QTableWidgetItem(text);
        Qt::ItemFlags fl = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (editable) fl |= Qt::ItemIsEditable;
        it->setFlags(fl);
        PunktyGrid->setItem(row, col, it);
    };
    cell(0, 0, Msg(QStringLiteral("stNr")), false);
    cell(0, 1, Msg(QStringLiteral("stPunkt")) + u' ' + UnitText(), false);
    for (int i = 0; i < n; ++i) {
        cell(i + 1, 0, TargetNumberText(i), false);
        cell(i + 1, 1, TargetValueText(WorkPoints[i].Dystans), true);
    }
    cell(n + 1, 0, Msg(QStringLiteral("stNowy")), false);
    cell(n + 1, 1, QString(), true);
    layoutColumns();
    PunktyGrid->setCurrentCell(n + 1, 1);
    filling_ = false;
}

void TFPunktyPoz::layoutColumns() {
    const int w = PunktyGrid->viewport()->width();
    // The number column as wide as its widest text ("Nowy" or the last number), never more
    // than half the table.
    int c0 = PunktyGrid->fontMetrics().horizontalAdvance(Msg(QStringLiteral("stNowy"))) + 12;
    for (int r = 0; r < PunktyGrid->rowCount(); ++r)
        if (const QTableWidgetItem* it = PunktyGrid->item(r, 0))
            c0 = std::max(c0, PunktyGrid->fontMetrics().horizontalAdvance(it->text()) + 12);
    c0 = std::min(c0, w / 2);
    PunktyGrid->setColumnWidth(0, c0);
    PunktyGrid->setColumnWidth(1, w - c0 - (PunktyGrid->showGrid() ? 1 : 0));
}

void TFPunktyPoz::resizeEvent(QResizeEvent* e) {
    TSSForm::resizeEvent(e);
    layoutColumns();
}

void TFPunktyPoz::showEvent(QShowEvent* e) {
    TSSForm::showEvent(e);
    layoutColumns();  // the table's final width is known only now
}

void TFPunktyPoz::ButtonObliczClick() {
    const double S = StartPointEdit->Value();
    const double D = SpinEditDystans->Value();
    const double O = SpinEditOdstep->Value();
    const int N = SpinEditIloscPunktow->value();
    const GenerateResult r = RadioButtonOdstep->isChecked() ? GenerateBySpacing(WorkPoints, S, D, O)
                                                            : GenerateByCount(WorkPoints, S, D, O, N);
    if (r.Generated) {
        if (RadioButtonOdstep->isChecked())
            SpinEditIloscPunktow->setValue(r.PointCount);
        else if (D != 0.0)
            SpinEditOdstep->SetValue(r.Step);
        else
            SpinEditDystans->SetValue(r.Distance);
    } else {
        if (r.Focus == TargetField::Distance) SpinEditDystans->setFocus();
        if (r.Focus == TargetField::Spacing) SpinEditOdstep->setFocus();
        if (r.Focus == TargetField::Count) SpinEditIloscPunktow->setFocus();
        beep();
        if (r.TooMany)
            MessageDlg(FillPlaceholder(TranslateString(QStringLiteral("stZaDuzoPunktow"),
                                                       QString::fromUtf8("Za dużo punktów: najwyżej %d.")),
                                       kMaxTargetPoints),
                       TMsgDlgType::mtError, mbOK);
    }
    FillGrid();
}

void TFPunktyPoz::ButtonWczytajClick() {
    FileDialogSettings s;
    s.Filter = ListFilter();
    s.FilterIndex = 1;
    s.InitialDir = PointListDir;
    const auto chosen = RunFileDialog(this, s, false);
    if (!chosen) return;
    TPunkt loaded;
    try {
        LoadPointList(loaded, *chosen);
    } catch (const std::exception& e) {
        MessageDlg(QString::fromStdString(e.what()), TMsgDlgType::mtError, mbOK);
        return;
    }
    if (loaded.Count() > kMaxTargetPoints) {
        MessageDlg(FillPlaceholder(TranslateString(QStringLiteral("stZaDuzoPunktow"),
                                                   QString::fromUtf8("Za dużo punktów: najwyżej %d.")),
                                   kMaxTargetPoints),
                   TMsgDlgType::mtError, mbOK);
        return;
    }
    // Lists are kept in mm on disk.
    if (ListUnit == 1) ScaleTargetPoints(loaded, kMmToInch);
    WorkPoints = std::move(loaded);
    SpinEditIloscPunktow->setValue(WorkPoints.Count());
    if (WorkPoints.Count() > 0) StartPointEdit->SetValue(WorkPoints[0].Dystans);
    FillGrid();
}

void TFPunktyPoz::ButtonZapiszClick() {
    if (WorkPoints.Count() == 0) return;
    const TPunkt stored = ResultPoints();
    FileDialogSettings s;
    s.FileName = foundations::formatFixed(stored[stored.Count() - 1].Dystans, 10, 0);
    s.InitialDir = PointListDir;
    s.Filter = ListFilter();
    s.FilterIndex = 1;
    s.DefaultExt = ListExt();
    const auto chosen = RunFileDialog(this, s, true);
    if (!chosen) return;
    QString name = *chosen;
    if (QFileInfo(name).suffix().isEmpty()) name += ListExt();
    try {
        SavePointList(stored, name);
    } catch (const std::exception& e) {
        MessageDlg(QString::fromStdString(e.what()), TMsgDlgType::mtError, mbOK);
    }
}

void TFPunktyPoz::ButtonUsunPunktClick() {
    const int row = PunktyGrid->currentRow();
    if (row >= 1 && row <= WorkPoints.Count()) {
        WorkPoints.Delete(row - 1);
        FillGrid();
    }
}

void TFPunktyPoz::ButtonUsunWszystkieClick() {
    if (MessageDlg(Msg(QStringLiteral("stDelAll")), TMsgDlgType::mtConfirmation, mbYes | mbNo) == mrYes) {
        WorkPoints.Clear();
        FillGrid();
    }
}

bool TFPunktyPoz::PunktyGridKeyPress(QChar key) {
    if (key.unicode() < 32 || (key >= u'0' && key <= u'9') || key == u'-' || key == u'.' ||
        key == u',' || key == foundations::systemDecimalSeparator())
        return true;
    beep();
    return false;
}

void TFPunktyPoz::PunktyGridSetEditText(int column, int row, const QString& text) {
    Q_UNUSED(column);
    // A number refused only because the list is full gets a beep; other refusals just redraw.
    if (!EditTargetPoint(WorkPoints, row, text) && foundations::parseUserReal(text)) beep();
    FillGrid();
}

void TFPunktyPoz::BitBtnOkClick() {
    if (WorkPoints.Count() < kMinTargetPoints) {
        MessageDlg(Msg(QStringLiteral("stZaMaloPunktow")), TMsgDlgType::mtError, mbOK);
        return;
    }
    accept();
}

void TFPunktyPoz::BitBtnPomocClick() { ShowHelpContext(kHelpContext); }

bool TFPunktyPoz::eventFilter(QObject* watched, QEvent* event) {
    if (watched->property("gridCellEditor").toBool() && event->type() == QEvent::KeyPress) {
        const auto* k = static_cast<QKeyEvent*>(event);
        if (!k->text().isEmpty() && !PunktyGridKeyPress(k->text().at(0))) return true;
    }
    auto* real = qobject_cast<TRealSpinEdit*>(watched);
    if (real && (real == StartPointEdit || real == SpinEditDystans || real == SpinEditOdstep)) {
        if (event->type() == QEvent::FocusIn)  // the enter handler: the whole text selected
            QTimer::singleShot(0, real, [real] { real->selectAll(); });
        else if (event->type() == QEvent::FocusOut)  // the exit handler: text and range normalised
            real->SetValue(real->Value());
    }
    return TSSForm::eventFilter(watched, event);
}

bool EditTargetPoints(TPunkt& Points, TRealSpinEdit* StartEdit, uint8_t Kind, int32_t Unit,
                      uint8_t Picture, const QString& PointListDir, QWidget* parent) {
    double start = StartEdit ? StartEdit->Value() : 0.0;
    if (!EditTargetPoints(Points, start, Kind, Unit, Picture, PointListDir, parent)) return false;
    if (StartEdit) StartEdit->SetValue(start);
    return true;
}

bool EditTargetPoints(TPunkt& Points, double& Start, uint8_t Kind, int32_t Unit, uint8_t Picture,
                      const QString& PointListDir, QWidget* parent) {
    TFPunktyPoz form(parent);
    form.Prepare(Points, Start, Kind, Unit, Picture, PointListDir);
    if (form.exec() != QDialog::Accepted) return false;
    Points = form.ResultPoints();
    Start = form.ResultStart();
    return true;
}
