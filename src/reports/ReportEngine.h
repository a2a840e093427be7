#pragma once
// Our banded report engine. A report is an A4 portrait page set-up in report units (794 x 1123
// per page, 96 to the inch), bands (page header, title, column header, detail with child bands,
// summary, page footer) and the items on them. Layout() runs the report's callbacks (before
// print, need data, the bands' before print) and places every printed item on pages: the page
// model, with the page count known. Paint() draws a page model onto any paged device (QPrinter
// for print and preview, QPdfWriter for PDF); it only draws what the model holds.
#include <QColor>
#include <QLineF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

class QPagedPaintDevice;
class QPainter;

namespace platform {
class TChart;
}

namespace reports {

inline constexpr double kPageWidth = 794.0;
inline constexpr double kPageHeight = 1123.0;
inline constexpr double kMarginLeft = 38.0;  // bands are 718 wide
inline constexpr double kMarginTop = 30.0;
inline constexpr double kMarginBottom = 30.0;
inline constexpr double kBandWidth = kPageWidth - 2 * kMarginLeft;

struct ReportFont {
    double size = 10.0;  // points
    bool bold = false;
    bool italic = false;
    bool operator==(const ReportFont&) const = default;
};

struct Frame {
    bool top = false, bottom = false, left = false, right = false;
    void All(bool on) { top = bottom = left = right = on; }
    bool Any() const { return top || bottom || left || right; }
};

enum class ItemKind { Label, Memo, Line, Shape, SysData, Chart };

// What a system data field shows.
enum class SysDataKind { Date, PageNumber, PageCount };

// A chart on a report: the report's own copy of a chart and the size it was last printed at,
// so that the print scaling runs once per rendering size.
struct ReportChart {
    std::unique_ptr<platform::TChart> chart;
    QSizeF lastSize;
    // Called with the printed rectangle before each painting of the chart (print scaling).
    std::function<void(ReportChart&, const QRectF&)> onPrint;
    ReportChart();
    ~ReportChart();
};

struct BandItem {
    ItemKind kind = ItemKind::Label;
    QString name;         // component name (language file, tests)
    QRectF rect;          // inside the band; a line runs from its top left to its bottom right
    QString text;         // label text; a system data field's text leads its value
    QStringList lines;    // memo lines
    Qt::Alignment alignment = Qt::AlignLeft;
    ReportFont font;
    Frame frame;
    bool enabled = true;  // a disabled item does not print
    SysDataKind sysData = SysDataKind::Date;
    std::shared_ptr<ReportChart> chart;
};

enum class BandKind { PageHeader, Title, ColumnHeader, Detail, Summary, PageFooter };

class Report;

struct Band {
    BandKind kind = BandKind::Detail;
    QString name;
    double height = 20.0;
    bool enabled = true;
    bool onFirstPage = true;  // column headers: false leaves the first page to the title band
    Frame frame;
    std::deque<BandItem> items;   // references stay valid while items are added
    std::vector<Band> children;  // printed right after the band, each with its own before print
    // Before each printing of the band: false skips it this time (the band may change its items).
    std::function<bool(Band&)> beforePrint;

    BandItem& Add(BandItem item);
    BandItem* Item(const QString& name);
    BandItem& Label(const QString& name, const QString& text, double x, double y, double w, double h,
                    Qt::Alignment align = Qt::AlignLeft, ReportFont font = {});
    BandItem& Line(double x1, double y1, double x2, double y2, const QString& name = QString());
};

// An item as it is printed: where on the page (report units) and with what text.
struct PlacedItem {
    ItemKind kind = ItemKind::Label;
    QString name;
    QString band;
    QRectF rect;
    QLineF line;  // Line items
    QString text;
    QStringList lines;
    Qt::Alignment alignment = Qt::AlignLeft;
    ReportFont font;
    std::shared_ptr<ReportChart> chart;
    // System data fields: what they show and their text before the value, so that a printout
    // joined from several reports can number its sheets again.
    SysDataKind sysData = SysDataKind::Date;
    QString leadText;
};

struct Page {
    std::vector<PlacedItem> items;
    // Items of a name, in print order.
    std::vector<const PlacedItem*> Named(const QString& name) const;
    const PlacedItem* First(const QString& name) const;
    std::vector<const PlacedItem*> Lines() const;
};

struct PageModel {
    QString title;
    std::vector<Page> pages;
    int PageCount() const { return int(pages.size()); }
};

// Fills the system data fields of every page: page i (from 0) prints firstSheet + i and the
// count prints sheetCount.
void FillSysData(PageModel& model, const QString& dateText, int firstSheet, int sheetCount);

class Report {
public:
    Report();
    virtual ~Report();
    Report(const Report&) = delete;
    Report& operator=(const Report&) = delete;

    QString name;    // language file section
    QString title;   // caption of the preview window
    bool firstPageHeader = true;  // the page header also prints on the first page
    bool lastPageFooter = true;   // the page footer also prints on the last page
    bool allowPrint = true;
    QString dateText;             // what date fields print

    std::deque<Band> bands;  // references stay valid while bands are added
    Band& AddBand(BandKind kind, const QString& name, double height);
    Band* FindBand(const QString& name);
    BandItem* FindItem(const QString& name);  // in every band and child band

    // Before the layout: prepares the headers and resets the record state.
    std::function<void()> beforePrint;
    // For each record: fills the detail items and says whether there is one. Without it the
    // detail bands print once. It may set startNewPage to begin the record on a fresh page.
    std::function<bool()> needData;
    bool startNewPage = false;

    // Lays the report out; runs the callbacks from the start each time.
    virtual PageModel Layout();
};

// Draws pages [from, to] (1-based, 0 = all) of the model onto the device, one device page each.
// The device's page is taken whole (no margins of its own).
void Paint(const PageModel& model, QPagedPaintDevice& device, int from = 0, int to = 0);
// Draws one page onto a painter whose device has `scale` pixels per report unit.
void PaintPage(const Page& page, QPainter& p, double scale = 1.0);
// Writes the model to a PDF file (A4) through the safe-save routine; false on failure.
bool WritePdf(const PageModel& model, const QString& path, const QString& title = QString(), int from = 0,
              int to = 0);

// A text in report units of font size f (points), as the painter prints it.
double TextWidth(const QString& text, const ReportFont& f);
// The distance between two lines of a memo, in report units.
double MemoLineHeight(const ReportFont& f);

}  // namespace reports
