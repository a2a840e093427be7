#include "reports/PositioningReports.h"

#include <algorithm>

#include "foundations/NumberFormat.h"

namespace reports {

namespace {

constexpr double kInchPerMm = 0.03937007874015748;
constexpr double kRowHeight = 27;

const ReportFont kText{9};
const ReportFont kBold{9, true};
const ReportFont kTitle{12, true};
constexpr Qt::Alignment kRight = Qt::AlignRight;
constexpr Qt::Alignment kCentre = Qt::AlignHCenter;

// A column of a table report: its head and its detail label.
struct Column {
    const char* name;
    double x, w;
    const char* head;
};

void addColumns(Band& heads, Band& detail, const Column* cols, int n, double headY) {
    for (int i = 0; i < n; ++i) {
        heads.Label(QStringLiteral("Head") + QString::fromLatin1(cols[i].name), QString::fromUtf8(cols[i].head),
                    cols[i].x, headY, cols[i].w, 18, kRight, kText);
        detail.Label(QString::fromLatin1(cols[i].name), QString(), cols[i].x, 4, cols[i].w, 19, kRight, kText);
    }
}

}  // namespace

QString MeasurementNameFromCaption(const QString& caption, const QString& modeCaption) {
    return caption.mid(modeCaption.size() + 3);
}

QString UnitLabelText(int lengthUnit) {
    return lengthUnit == 1 ? QStringLiteral("in inch") : QStringLiteral("in mm");
}

std::optional<QString> PositionText(double mm, int lengthUnit, QChar separator) {
    if (lengthUnit == 0) return foundations::formatFixed(mm, 10, 1, separator);
    if (lengthUnit == 1) return foundations::formatFixed(mm * kInchPerMm, 10, 2, separator);
    return std::nullopt;
}

PositioningReport::PositioningReport(const QString& reportName, const ReportSheet& sheet,
                                     const PositioningRunData& run)
    : sheet_(sheet), run_(run) {
    name = reportName;
    title = QStringLiteral("POSITIONING ACCURACY OF MACHINE TOOL");
    firstPageHeader = true;
    lastPageFooter = true;
    dateText = sheet.dateText;
}

int PositioningReport::RowCount() const {
    if (!run_.cycles || run_.cycles->Count() == 0 || !run_.means) return 0;
    return std::min(run_.cycles->GetItem(0).Punkt.Count(), run_.means->Count());
}

double PositioningReport::Mean(int k, bool forward) const {
    const TPunktItem& m = run_.means->GetItem(k);
    return forward ? m.Xa : m.Xr;
}

double PositioningReport::Sigma(int k, bool forward) const {
    if (!run_.sigmas || k >= run_.sigmas->Count()) return 0.0;
    const TPunktItem& s = run_.sigmas->GetItem(k);
    return forward ? s.Xa : s.Xr;
}

double PositioningReport::PooledSigma(int k) const {
    if (!run_.sigmas || k >= run_.sigmas->Count()) return 0.0;
    return run_.sigmas->GetItem(k).Dystans;
}

QString PositioningReport::Value(double v, int decimals) const {
    return foundations::formatFixed(v, 10, decimals, sheet_.separator);
}

Band& PositioningReport::AddSheetHeader(double height) {
    Band& b = AddBand(BandKind::PageHeader, QStringLiteral("PageHeaderBand1"), height);
    b.frame.All(true);
    b.Label(QStringLiteral("QRLabLaboratory"), sheet_.laboratoryName, 8, 6, 430, 20, Qt::AlignLeft, {11, true});
    b.Label(QStringLiteral("QRLabAddress"), sheet_.laboratoryAddress, 8, 30, 430, 20, Qt::AlignLeft, {10, true});
    // Report number, date and sheet, boxed at the right.
    b.Line(450, 0, 450, 72);
    b.Line(450, 24, kBandWidth, 24);
    b.Line(450, 48, kBandWidth, 48);
    b.Label(QString(), QStringLiteral("REPORT NO:"), 456, 3, 80, 18, Qt::AlignLeft, kText);
    b.Label(QStringLiteral("QRLabel27"), QString(), 540, 3, 170, 18, Qt::AlignLeft, kBold);
    b.Label(QString(), QStringLiteral("Date:"), 456, 27, 80, 18, Qt::AlignLeft, kText);
    BandItem& date = b.Label(QStringLiteral("QRSysData1"), QString(), 540, 27, 170, 18, Qt::AlignLeft, kText);
    date.kind = ItemKind::SysData;
    date.sysData = SysDataKind::Date;
    b.Label(QString(), QStringLiteral("Sheet:"), 456, 51, 80, 18, Qt::AlignLeft, kText);
    BandItem& sheetNo = b.Label(QStringLiteral("QRSysData3"), QString(), 540, 51, 40, 18, Qt::AlignLeft, kText);
    sheetNo.kind = ItemKind::SysData;
    sheetNo.sysData = SysDataKind::PageNumber;
    BandItem& sheets = b.Label(QStringLiteral("QRLPN"), QStringLiteral("of "), 584, 51, 120, 18, Qt::AlignLeft, kText);
    sheets.kind = ItemKind::SysData;
    sheets.sysData = SysDataKind::PageCount;
    b.Line(0, 72, kBandWidth, 72);
    // Machine data.
    b.Label(QString(), QStringLiteral("Machine:"), 8, 78, 70, 18, Qt::AlignLeft, kText);
    b.Label(QStringLiteral("QRMachine"), QString(), 80, 78, 170, 18, Qt::AlignLeft, kBold);
    b.Label(QString(), QStringLiteral("Serial No:"), 260, 78, 70, 18, Qt::AlignLeft, kText);
    b.Label(QStringLiteral("QRSerialNo"), QString(), 330, 78, 170, 18, Qt::AlignLeft, kBold);
    b.Label(QString(), QStringLiteral("Axis:"), 540, 78, 40, 18, Qt::AlignLeft, kText);
    b.Label(QStringLiteral("QRAxis"), QString(), 580, 78, 120, 18, Qt::AlignLeft, kBold);
    b.Label(QString(), QStringLiteral("File Name:"), 8, 100, 70, 18, Qt::AlignLeft, kText);
    b.Label(QStringLiteral("QRFileName"), QString(), 80, 100, 250, 18, Qt::AlignLeft, kText);
    b.Label(QString(), QStringLiteral("Acquisition date:"), 340, 100, 110, 18, Qt::AlignLeft, kText);
    b.Label(QStringLiteral("QRAcqDate"), QString(), 450, 100, 260, 18, Qt::AlignLeft, kText);
    b.Label(QString(), QStringLiteral("Ref. Std.:"), 8, 122, 70, 18, Qt::AlignLeft, kText);
    b.Label(QStringLiteral("QRRefStd"), QString(), 80, 122, 300, 18, Qt::AlignLeft, kText);
    b.Line(0, 144, kBandWidth, 144);
    b.Label(QStringLiteral("QRTitle"), QStringLiteral("POSITIONING ACCURACY OF MACHINE TOOL"), 0, 148, kBandWidth, 20,
            kCentre, kTitle);
    b.Label(QString(), QStringLiteral("(All values in \u00b5m)"), 0, 168, kBandWidth, 18, kCentre, kText);
    return b;
}

void PositioningReport::AddFooter() {
    Band& f = AddBand(BandKind::PageFooter, QStringLiteral("PageFooterBand1"), 30);
    f.Label(QString(), QStringLiteral("MEASURED BY:"), 8, 6, 100, 18, Qt::AlignLeft, kText);
    f.Label(QStringLiteral("QROperator"), QString(), 110, 6, 300, 18, Qt::AlignLeft, kBold);
}

void PositioningReport::FillSheetHeader() {
    auto set = [this](const char* n, const QString& t) {
        if (BandItem* it = FindItem(QString::fromLatin1(n))) it->text = t;
    };
    const TMeasurementHeader& h = sheet_.header;
    set("QRLabel27", sheet_.reportNumber);
    set("QRMachine", h.MachineType);
    set("QRSerialNo", h.SerialNumber);
    set("QRAxis", h.Axis);
    set("QRFileName", sheet_.measurementName);
    set("QRAcqDate", h.Date);
    set("QRRefStd", sheet_.standardName);
    set("QROperator", h.Operator);
    for (const char* n : {"QRUnit", "QRUnit2"}) set(n, UnitLabelText(sheet_.lengthUnit));
    dateText = sheet_.dateText;
    rows_ = 0;
}

void PositioningReport::FillPosition(Band& detail, int k) {
    BandItem* pos = detail.Item(QStringLiteral("QRLabelPos"));
    if (!pos) return;
    if (auto t = PositionText(run_.cycles->GetItem(0).Punkt.GetItem(k).Dystans, sheet_.lengthUnit, sheet_.separator))
        pos->text = *t;
}

// ---- readings list ----

TqrLista::TqrLista(const ReportSheet& sheet, const PositioningRunData& run)
    : PositioningReport(QStringLiteral("qrLista"), sheet, run) {
    Band& h = AddSheetHeader(243);
    h.Line(0, kHeadsTop, kBandWidth, kHeadsTop);
    h.Label(QString(), QStringLiteral("Position"), 6, 197, 60, 18, Qt::AlignLeft, kText);
    h.Label(QStringLiteral("QRUnit"), UnitLabelText(0), 6, 219, 60, 18, Qt::AlignLeft, kText);
    h.Label(QString(), QStringLiteral("Forward readings"), kLeftSeparator, 197, kMiddleSeparator - kLeftSeparator, 18,
            kCentre, kBold);
    h.Label(QString(), QStringLiteral("Reverse readings"), kMiddleSeparator, 197, kRightSeparator - kMiddleSeparator,
            18, kCentre, kBold);
    // The band's frame closes the table on the right: a line at the reverse block's right edge
    // beside it would print as an empty sliver of a column.
    for (double x : {kLeftSeparator, kMiddleSeparator}) h.Line(x, kHeadsTop, x, 243);
    Band& d = AddBand(BandKind::Detail, QStringLiteral("DetailBand1"), kRowHeight);
    d.frame.left = d.frame.right = true;
    d.Label(QStringLiteral("QRLabelPos"), QString(), 6, 4, 50, 19, kRight, kText);
    for (double x : {kLeftSeparator, kMiddleSeparator}) d.Line(x, 0, x, kRowHeight);
    for (int j = 0; j < kColumns; ++j) {
        const QString n = QString::number(j + 1);
        h.Label(QStringLiteral("QROF") + n, n, kForwardX[j], 219, kColumnWidth, 18, kRight, kText);
        h.Label(QStringLiteral("QROR") + n, n, kReverseX[j], 219, kColumnWidth, 18, kRight, kText);
        d.Label(QStringLiteral("QRF") + n, QString(), kForwardX[j], 4, kColumnWidth, 19, kRight, kText);
        d.Label(QStringLiteral("QRR") + n, QString(), kReverseX[j], 4, kColumnWidth, 19, kRight, kText);
    }
    Band& s = AddBand(BandKind::Summary, QStringLiteral("SummaryBand1"), 10);
    s.frame.top = true;
    AddFooter();
    beforePrint = [this] { qrListaBeforePrint(); };
    needData = [this] { return qrListaNeedData(); };
}

int TqrLista::CycleCount() const { return run_.cycles ? run_.cycles->Count() : 0; }

int TqrLista::BlockCount() const { return std::max(1, (CycleCount() + kColumns - 1) / kColumns); }

void TqrLista::LayoutBlock(int block) {
    block_ = block;
    const int first = block * kColumns;
    const int n = std::clamp(CycleCount() - first, 0, kColumns);
    struct Side {
        const char* head;
        const char* label;
        const double* design;
        double left, right;
    };
    const Side sides[2] = {{"QROF", "QRF", kForwardX, kLeftSeparator, kMiddleSeparator},
                           {"QROR", "QRR", kReverseX, kMiddleSeparator, kRightSeparator}};
    for (const Side& side : sides) {
        const int w = int(side.right - side.left) / (2 * std::max(1, n));
        for (int j = 0; j < kColumns; ++j) {
            const QString k = QString::number(j + 1);
            BandItem* head = FindItem(QString::fromLatin1(side.head) + k);
            BandItem* label = FindItem(QString::fromLatin1(side.label) + k);
            if (!head || !label) continue;
            double x = side.design[j];
            // Fewer than seven cycles share the block evenly, each centred in its part.
            if (n < kColumns) x = side.left + (2 * (j + 1) - 1) * w - int(head->rect.width()) / 2;
            head->rect.moveLeft(x);
            label->rect.moveLeft(x);
            head->enabled = label->enabled = j < n;
            head->text = QString::number(first + j + 1);
        }
    }
}

void TqrLista::qrListaBeforePrint() {
    FillSheetHeader();
    LayoutBlock(0);
}

bool TqrLista::qrListaNeedData() {
    const int rows = RowCount();
    if (rows_ >= rows && block_ + 1 < BlockCount() && rows > 0) {
        // The next seven cycles start a page of their own.
        LayoutBlock(block_ + 1);
        rows_ = 0;
        startNewPage = true;
    }
    Band* d = FindBand(QStringLiteral("DetailBand1"));
    if (rows_ < rows && d) {
        const int k = rows_;
        FillPosition(*d, k);
        const int first = block_ * kColumns;
        for (int j = 0; j < kColumns; ++j) {
            const int c = first + j;
            QString fwd, rev;
            if (c < CycleCount() && k < run_.cycles->GetItem(c).Punkt.Count()) {
                const TPunktItem& p = run_.cycles->GetItem(c).Punkt.GetItem(k);
                fwd = Value(p.Xa, 1);
                rev = Value(p.Xr, 1);
            }
            d->Item(QStringLiteral("QRF") + QString::number(j + 1))->text = fwd;
            d->Item(QStringLiteral("QRR") + QString::number(j + 1))->text = rev;
        }
        // A block that another block follows closes its table on its own page.
        d->frame.bottom = k == rows - 1 && block_ + 1 < BlockCount();
    }
    ++rows_;
    return rows >= rows_;
}

// ---- ISO 230-2 ----

TQRTabISO::TQRTabISO(const ReportSheet& sheet, const PositioningRunData& run)
    : PositioningReport(QStringLiteral("QRTabISO"), sheet, run) {
    Band& h = AddSheetHeader(243);
    h.Line(0, kHeadsTop, kBandWidth, kHeadsTop);
    Band& d = AddBand(BandKind::Detail, QStringLiteral("QRBand5"), kRowHeight);
    d.frame.left = d.frame.right = true;
    static constexpr Column cols[] = {
        {"QRLabelPos", 4, 62, "Position"}, {"QRXa", 70, 52, "Xf"},       {"QRXr", 124, 52, "Xr"},
        {"QRXp3S", 186, 56, "X+3S"},        {"QRXm3S", 244, 56, "X-3S"},   {"QRXrp3S", 310, 56, "X+3S"},
        {"QRXrm3S", 368, 56, "X-3S"},       {"QR6Sf", 434, 54, "6Sf"},     {"QR6Sr", 490, 54, "6Sr"},
        {"QRBdir", 546, 54, "Bi-dir"},      {"QRRevError", 622, 80, "Error"},
    };
    addColumns(h, d, cols, int(std::size(cols)), 219);
    h.Item(QStringLiteral("HeadQRLabelPos"))->rect.moveTop(197);
    h.Label(QStringLiteral("QRUnit"), UnitLabelText(0), 4, 219, 62, 18, kRight, kText);
    h.Label(QString(), QStringLiteral("Mean deviation"), 70, 197, 106, 18, kCentre, kText);
    h.Label(QString(), QStringLiteral("Accy-fwd"), 186, 197, 114, 18, kCentre, kText);
    h.Label(QString(), QStringLiteral("Accy-rev"), 310, 197, 114, 18, kCentre, kText);
    h.Label(QString(), QStringLiteral("Repeatability"), 434, 197, 166, 18, kCentre, kText);
    h.Label(QString(), QStringLiteral("Rev"), 622, 197, 80, 18, kRight, kText);
    AddFooter();
    beforePrint = [this] { QRTabISOBeforePrint(); };
    needData = [this] { return QRTabISONeedData(); };
}

void TQRTabISO::QRTabISOBeforePrint() { FillSheetHeader(); }

bool TQRTabISO::QRTabISONeedData() {
    const int n = RowCount();
    Band* d = FindBand(QStringLiteral("QRBand5"));
    if (rows_ < n && d) {
        const int k = rows_;
        FillPosition(*d, k);
        const double xf = Mean(k, true), xr = Mean(k, false);
        const double sf = Sigma(k, true), sr = Sigma(k, false);
        const double b = Reversal(k);
        auto set = [&](const char* name, double v) { d->Item(QString::fromLatin1(name))->text = Value(v, 1); };
        set("QRXa", xf);
        set("QRXr", xr);
        set("QRXp3S", xf + 3 * sf);
        set("QRXm3S", xf - 3 * sf);
        set("QRXrp3S", xr + 3 * sr);
        set("QRXrm3S", xr - 3 * sr);
        set("QR6Sf", 6 * sf);
        set("QR6Sr", 6 * sr);
        set("QRBdir", std::max({6 * sf, 6 * sr, 3 * sf + 3 * sr + std::abs(b)}));
        set("QRRevError", b);
    }
    ++rows_;
    if (d) d->frame.bottom = n <= rows_;
    return n >= rows_;
}

// ---- NMTBA ----

TQRNMTBA::TQRNMTBA(const ReportSheet& sheet, const PositioningRunData& run)
    : PositioningReport(QStringLiteral("QRNMTBA"), sheet, run) {
    Band& h = AddSheetHeader(243);
    h.Line(0, kHeadsTop, kBandWidth, kHeadsTop);
    Band& d = AddBand(BandKind::Detail, QStringLiteral("QRBand3"), kRowHeight);
    d.frame.left = d.frame.right = true;
    static constexpr Column cols[] = {
        {"QRLabelPos", 6, 70, "Position"}, {"QRAverageX", 130, 100, "Average (X)"}, {"QR3Sigma", 270, 100, "3 Sigma"},
        {"QRXp3S", 410, 100, "X+3S"},       {"QRXm3S", 550, 100, "X-3S"},
    };
    addColumns(h, d, cols, int(std::size(cols)), 197);
    h.Label(QStringLiteral("QRUnit"), UnitLabelText(0), 6, 219, 70, 18, kRight, kText);
    AddFooter();
    beforePrint = [this] { QRNMTBABeforePrint(); };
    needData = [this] { return QRNMTBANeedData(); };
}

void TQRNMTBA::QRNMTBABeforePrint() { FillSheetHeader(); }

bool TQRNMTBA::QRNMTBANeedData() {
    const int n = RowCount();
    Band* d = FindBand(QStringLiteral("QRBand3"));
    if (rows_ < n && d) {
        const int k = rows_;
        FillPosition(*d, k);
        const double x = (Mean(k, true) + Mean(k, false)) / 2;
        const double s3 = 3 * PooledSigma(k);
        auto set = [&](const char* name, double v) { d->Item(QString::fromLatin1(name))->text = Value(v, 1); };
        set("QRAverageX", x);
        set("QR3Sigma", s3);
        set("QRXp3S", x + s3);
        set("QRXm3S", x - s3);
    }
    ++rows_;
    if (d) d->frame.bottom = n <= rows_;
    return n >= rows_;
}

// ---- VDI/DGQ 3441 ----

TTabLista2::TTabLista2(const ReportSheet& sheet, const PositioningRunData& run)
    : PositioningReport(QStringLiteral("TabLista2"), sheet, run) {
    static constexpr Column cols[] = {
        {"QRLabelPos", 6, 70, "Position"}, {"QRU", 96, 80, "U"},          {"QRPs", 186, 80, "Ps"},
        {"QRA", 276, 80, "A"},             {"QRAverage", 366, 100, "Average"}, {"QApA", 476, 110, "Average+A"},
        {"QAmA", 596, 110, "Average-A"},
    };
    Band& h = AddSheetHeader(kHeadsTop);
    (void)h;
    // The heads: under the sheet header on the first page (title band), on top of every
    // following page (column header band).
    Band& t = AddBand(BandKind::Title, QStringLiteral("TitleBand1"), 50);
    t.frame.left = t.frame.right = t.frame.bottom = true;
    Band& c = AddBand(BandKind::ColumnHeader, QStringLiteral("ColumnHeaderBand1"), 50);
    c.frame.All(true);
    c.onFirstPage = false;
    Band& d = AddBand(BandKind::Detail, QStringLiteral("QRBand3"), kRowHeight);
    d.frame.left = d.frame.right = true;
    addColumns(t, d, cols, int(std::size(cols)), 6);
    t.Label(QStringLiteral("QRUnit"), UnitLabelText(0), 6, 26, 70, 18, kRight, kText);
    for (const Column& col : cols)
        c.Label(QString(), QString::fromUtf8(col.head), col.x, 6, col.w, 18, kRight, kText);
    c.Label(QStringLiteral("QRUnit2"), UnitLabelText(0), 6, 26, 70, 18, kRight, kText);
    AddFooter();
    beforePrint = [this] { TabLista2BeforePrint(); };
    needData = [this] { return TabLista2NeedData(); };
}

void TTabLista2::TabLista2BeforePrint() { FillSheetHeader(); }

bool TTabLista2::TabLista2NeedData() {
    const int n = RowCount();
    Band* d = FindBand(QStringLiteral("QRBand3"));
    if (rows_ < n && d) {
        const int k = rows_;
        FillPosition(*d, k);
        const double u = Reversal(k);
        const double ps = 3 * (Sigma(k, true) + Sigma(k, false));
        const double a = (u + ps) / 2;
        const double x = (Mean(k, true) + Mean(k, false)) / 2;
        auto set = [&](const char* name, double v) { d->Item(QString::fromLatin1(name))->text = Value(v, 2); };
        set("QRU", u);
        set("QRPs", ps);
        set("QRA", a);
        set("QRAverage", x);
        set("QApA", x + a);
        set("QAmA", x - a);
    }
    ++rows_;
    if (d) d->frame.bottom = n <= rows_;
    return n >= rows_;
}

}  // namespace reports
