#include "app/ChartClipboard.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QPainter>
#include <QSvgGenerator>

#include "platform/Chart.h"

namespace {

// White chart and title for the copy; the screen's colours come back however the copy ends.
class WhiteForCopy {
public:
    explicit WhiteForCopy(platform::TChart& c) : c_(c), colour_(c.Color()), title_(c.Title().color) {
        c_.SetColor(Qt::white);
        c_.Title().color = Qt::white;
    }
    ~WhiteForCopy() {
        c_.Title().color = title_;
        c_.SetColor(colour_);
    }

private:
    platform::TChart& c_;
    QColor colour_, title_;
};

}  // namespace

std::unique_ptr<QMimeData> ChartPictureData(platform::TChart& chart, QSize size) {
    if (size.isEmpty()) size = chart.size();
    if (size.isEmpty()) size = QSize(480, 320);
    auto data = std::make_unique<QMimeData>();
    WhiteForCopy white(chart);

    const QImage image = chart.RenderImage(size);
    QByteArray png;
    QBuffer pngBuffer(&png);
    pngBuffer.open(QIODevice::WriteOnly);
    image.save(&pngBuffer, "PNG");
    data->setData(QStringLiteral("image/png"), png);
    data->setImageData(image);

    QByteArray svg;
    QBuffer svgBuffer(&svg);
    svgBuffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&svgBuffer);
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    {
        QPainter p(&generator);
        chart.paint(p, QRectF(QPointF(0, 0), QSizeF(size)));
    }
    data->setData(QStringLiteral("image/svg+xml"), svg);
    return data;
}

void CopyChartToClipboard(platform::TChart& chart) {
    if (QClipboard* c = QGuiApplication::clipboard()) c->setMimeData(ChartPictureData(chart).release());
}
