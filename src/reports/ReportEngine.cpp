#include "reports/ReportEngine.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <cmath>

#include "platform/Chart.h"
#include "platform/SafeSave.h"

namespace reports {

namespace {

// A report that never stops asking for data is cut off here rather than hanging the program.
constexpr int kMaxRecords = 1000000;

QFont deviceFont(const ReportFont& f, double scale) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(std::max(1, int(std::lround(f.size * 96.0 / 72.0 * scale))));
    font.setBold(f.bold);
    font.setItalic(f.italic);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

}  // namespace

ReportChart::ReportChart() : chart(std::make_unique<platform::TChart>()) {}
ReportChart::~ReportChart() = default;

double MemoLineHeight(const ReportFont& f) {
    const QFontMetricsF m(deviceFont(f, 16.0));
    return m.lineSpacing() / 16.0;
}

double TextWidth(const QString& text, const ReportFont& f) {
    const QFontMetricsF m(deviceFont(f, 16.0));
    return m.horizontalAdvance(text) / 16.0;
}

BandItem& Band::Add(BandItem item) {
    items.push_back(std::move(item));
    return items.back();
}

BandItem* Band::Item(const QString& n) {
    for (BandItem& it : items)
        if (it.name == n) return &it;
    for (Band& c : children)
        if (BandItem* it = c.Item(n)) return it;
    return nullptr;
}

BandItem& Band::Label(const QString& n, const QString& text, double x, double y, double w, double h,
                      Qt::Alignment align, ReportFont font) {
    BandItem it;
    it.kind = ItemKind::Label;
    it.name = n;
    it.text = text;
    it.rect = QRectF(x, y, w, h);
    it.alignment = align;
    it.font = font;
    return Add(std::move(it));
}

BandItem& Band::Line(double x1, double y1, double x2, double y2, const QString& n) {
    BandItem it;
    it.kind = ItemKind::Line;
    it.name = n;
    it.rect = QRectF(QPointF(x1, y1), QPointF(x2, y2));
    return Add(std::move(it));
}

std::vector<const PlacedItem*> Page::Named(const QString& n) const {
    std::vector<const PlacedItem*> out;
    for (const PlacedItem& it : items)
        if (it.name == n) out.push_back(&it);
    return out;
}

const PlacedItem* Page::First(const QString& n) const {
    for (const PlacedItem& it : items)
        if (it.name == n) return &it;
    return nullptr;
}

std::vector<const PlacedItem*> Page::Lines() const {
    std::vector<const PlacedItem*> out;
    for (const PlacedItem& it : items)
        if (it.kind == ItemKind::Line) out.push_back(&it);
    return out;
}

Report::Report() = default;
Report::~Report() = default;

Band& Report::AddBand(BandKind kind, const QString& n, double height) {
    Band b;
    b.kind = kind;
    b.name = n;
    b.height = height;
    bands.push_back(std::move(b));
    return bands.back();
}

Band* Report::FindBand(const QString& n) {
    for (Band& b : bands) {
        if (b.name == n) return &b;
        for (Band& c : b.children)
            if (c.name == n) return &c;
    }
    return nullptr;
}

BandItem* Report::FindItem(const QString& n) {
    for (Band& b : bands)
        if (BandItem* it = b.Item(n)) return it;
    return nullptr;
}

namespace {

void addLine(Page& page, const QString& band, const QString& n, QPointF a, QPointF b) {
    PlacedItem p;
    p.kind = ItemKind::Line;
    p.name = n;
    p.band = band;
    p.line = QLineF(a, b);
    p.rect = QRectF(a, b).normalized();
    page.items.push_back(std::move(p));
}

void addFrame(Page& page, const QString& band, const QString& n, const QRectF& r, const Frame& f) {
    if (f.top) addLine(page, band, n, r.topLeft(), r.topRight());
    if (f.bottom) addLine(page, band, n, r.bottomLeft(), r.bottomRight());
    if (f.left) addLine(page, band, n, r.topLeft(), r.bottomLeft());
    if (f.right) addLine(page, band, n, r.topRight(), r.bottomRight());
}

void placeBand(Page& page, const Band& b, double y) {
    const QPointF origin(kMarginLeft, y);
    for (const BandItem& it : b.items) {
        if (!it.enabled) continue;
        if (it.kind == ItemKind::Line) {
            addLine(page, b.name, it.name, origin + it.rect.topLeft(), origin + it.rect.bottomRight());
            continue;
        }
        PlacedItem p;
        p.kind = it.kind;
        p.name = it.name;
        p.band = b.name;
        p.rect = it.rect.translated(origin);
        p.text = it.text;
        p.lines = it.lines;
        p.alignment = it.alignment;
        p.font = it.font;
        p.chart = it.chart;
        page.items.push_back(p);
        if (it.frame.Any()) addFrame(page, b.name, it.name, p.rect, it.frame);
    }
    if (b.frame.Any()) addFrame(page, b.name, b.name, QRectF(kMarginLeft, y, kBandWidth, b.height), b.frame);
}

}  // namespace

PageModel Report::Layout() {
    PageModel model;
    model.title = title;
    startNewPage = false;
    if (beforePrint) beforePrint();

    auto bandsOf = [this](BandKind k) {
        std::vector<Band*> out;
        for (Band& b : bands)
            if (b.kind == k && b.enabled) out.push_back(&b);
        return out;
    };
    const std::vector<Band*> footers = bandsOf(BandKind::PageFooter);
    double footerHeight = 0;
    for (const Band* f : footers) footerHeight += f->height;
    const double bottom = kPageHeight - kMarginBottom - footerHeight;

    double y = 0;
    double contentTop = 0;  // where the records of the current page begin

    // A band with its children as one block: their before-print handlers decide what prints.
    auto group = [](Band& b) {
        std::vector<Band*> out;
        if (!b.beforePrint || b.beforePrint(b)) out.push_back(&b);
        for (Band& c : b.children)
            if (c.enabled && (!c.beforePrint || c.beforePrint(c))) out.push_back(&c);
        return out;
    };
    auto place = [&](const std::vector<Band*>& bs) {
        for (Band* b : bs) {
            placeBand(model.pages.back(), *b, y);
            y += b->height;
        }
    };
    auto heightOf = [](const std::vector<Band*>& bs) {
        double h = 0;
        for (const Band* b : bs) h += b->height;
        return h;
    };
    auto beginPage = [&] {
        const bool first = model.pages.empty();
        model.pages.emplace_back();
        y = kMarginTop;
        if (!first || firstPageHeader)
            for (Band* b : bandsOf(BandKind::PageHeader)) place(group(*b));
        if (first)
            for (Band* b : bandsOf(BandKind::Title)) place(group(*b));
        for (Band* b : bandsOf(BandKind::ColumnHeader))
            if (!first || b->onFirstPage) place(group(*b));
        contentTop = y;
    };
    auto endPage = [&](bool last) {
        if (last && !lastPageFooter) return;
        double fy = bottom;
        for (Band* f : footers)
            for (Band* b : group(*f)) {
                placeBand(model.pages.back(), *b, fy);
                fy += b->height;
            }
    };
    // Places a block, first on a new page when it does not fit below what the page holds.
    auto placeFitting = [&](const std::vector<Band*>& bs, bool forceNewPage) {
        if (bs.empty()) return;
        if (y > contentTop && (forceNewPage || y + heightOf(bs) > bottom)) {
            endPage(false);
            beginPage();
        }
        place(bs);
    };

    beginPage();
    const std::vector<Band*> details = bandsOf(BandKind::Detail);
    if (needData) {
        for (int n = 0; n < kMaxRecords && needData(); ++n) {
            bool fresh = startNewPage;
            startNewPage = false;
            for (Band* d : details) {
                placeFitting(group(*d), fresh);
                fresh = false;
            }
        }
    } else {
        for (Band* d : details) placeFitting(group(*d), false);
    }
    for (Band* s : bandsOf(BandKind::Summary)) placeFitting(group(*s), false);
    endPage(true);

    for (Page& page : model.pages)
        for (PlacedItem& it : page.items) {
            if (it.kind != ItemKind::SysData) continue;
            const BandItem* src = FindItem(it.name);
            it.sysData = src ? src->sysData : SysDataKind::Date;
            it.leadText = it.text;
        }
    FillSysData(model, dateText, 1, model.PageCount());
    return model;
}

void FillSysData(PageModel& model, const QString& dateText, int firstSheet, int sheetCount) {
    for (int i = 0; i < model.PageCount(); ++i)
        for (PlacedItem& it : model.pages[size_t(i)].items) {
            if (it.kind != ItemKind::SysData) continue;
            QString value;
            switch (it.sysData) {
            case SysDataKind::Date: value = dateText; break;
            case SysDataKind::PageNumber: value = QString::number(firstSheet + i); break;
            case SysDataKind::PageCount: value = QString::number(sheetCount); break;
            }
            // The field's text leads its value, one space between ("Wydrukowano: 10.12.2026").
            it.text = it.leadText;
            if (!it.text.isEmpty() && !it.text.endsWith(u' ')) it.text += u' ';
            it.text += value;
        }
}

void PaintPage(const Page& page, QPainter& p, double scale) {
    auto dev = [scale](const QRectF& r) {
        return QRectF(r.x() * scale, r.y() * scale, r.width() * scale, r.height() * scale);
    };
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    const QPen linePen(Qt::black, std::max(1.0, scale), Qt::SolidLine, Qt::SquareCap);
    for (const PlacedItem& it : page.items) {
        switch (it.kind) {
        case ItemKind::Line:
            p.setPen(linePen);
            p.drawLine(QLineF(it.line.p1() * scale, it.line.p2() * scale));
            break;
        case ItemKind::Shape:
            p.setPen(linePen);
            p.setBrush(Qt::NoBrush);
            p.drawRect(dev(it.rect));
            break;
        case ItemKind::Label:
        case ItemKind::SysData:
            p.setPen(Qt::black);
            p.setFont(deviceFont(it.font, scale));
            p.drawText(dev(it.rect), int(it.alignment | Qt::AlignVCenter) | Qt::TextSingleLine, it.text);
            break;
        case ItemKind::Memo: {
            p.setPen(Qt::black);
            p.setFont(deviceFont(it.font, scale));
            const double lh = MemoLineHeight(it.font);
            double y = it.rect.top();
            for (const QString& line : it.lines) {
                p.drawText(dev(QRectF(it.rect.left(), y, it.rect.width(), lh)),
                           int(it.alignment | Qt::AlignVCenter) | Qt::TextSingleLine, line);
                y += lh;
            }
            break;
        }
        case ItemKind::Chart:
            if (it.chart && it.chart->chart) {
                if (it.chart->onPrint) it.chart->onPrint(*it.chart, it.rect);
                p.save();
                p.scale(scale, scale);
                it.chart->chart->paint(p, it.rect);
                p.restore();
            }
            break;
        }
    }
    p.restore();
}

void Paint(const PageModel& model, QPagedPaintDevice& device, int from, int to) {
    device.setPageSize(QPageSize(QPageSize::A4));
    device.setPageOrientation(QPageLayout::Portrait);
    device.setPageMargins(QMarginsF(0, 0, 0, 0));
    const int count = model.PageCount();
    if (from < 1) from = 1;
    if (to < 1 || to > count) to = count;
    QPainter p;
    if (!p.begin(&device)) return;
    const double scale = std::min(device.width() / kPageWidth, device.height() / kPageHeight);
    bool first = true;
    for (int i = from; i <= to; ++i) {
        if (!first) device.newPage();
        first = false;
        PaintPage(model.pages[size_t(i - 1)], p, scale);
    }
    p.end();
}

bool WritePdf(const PageModel& model, const QString& path, const QString& title, int from, int to) {
    return platform::SaveThroughTemporary(path, [&](QIODevice& file) {
               // The writer puts out the document as it ends, before the save is committed.
               QPdfWriter pdf(&file);
               pdf.setResolution(600);
               pdf.setTitle(title.isEmpty() ? model.title : title);
               pdf.setCreator(QStringLiteral("VKM30"));
               Paint(model, pdf, from, to);
               return true;
           })
        .isEmpty();
}

}  // namespace reports
