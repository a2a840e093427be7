#include "evaluation/PointLists.h"

#include <QBuffer>
#include <QFile>
#include <QSaveFile>

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
    QSaveFile f(FileName);
    if (!f.open(QIODevice::WriteOnly)) throw MeasurementFileError(f.errorString());
    try {
        Points.SaveToStream(f);
    } catch (const foundations::StreamWriteError&) {
        const QString msg = f.errorString();
        f.cancelWriting();
        throw MeasurementFileError(msg);
    }
    if (!f.commit()) throw MeasurementFileError(f.errorString());
}
