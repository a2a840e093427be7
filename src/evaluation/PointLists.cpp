#include "evaluation/PointLists.h"

#include <QBuffer>
#include <QFile>

#include "evaluation/MeasurementFiles.h"

void LoadPointList(TPunkt& Points, const QString& FileName) {
    QFile f(FileName);
    if (!f.open(QIODevice::ReadOnly)) throw MeasurementFileError(f.errorString());
    QByteArray bytes = f.readAll();
    f.close();
    QBuffer buf(&bytes);
    buf.open(QIODevice::ReadOnly);
    TPunkt tmp;
    tmp.LoadFromStream(buf);
    Points = std::move(tmp);
}

void SavePointList(const TPunkt& Points, const QString& FileName) {
    SaveFileThroughTemporary(FileName, [&](QIODevice& d) { Points.SaveToStream(d); });
}
