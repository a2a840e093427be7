#include "evaluation/PointLists.h"

#include <QBuffer>

#include "evaluation/MeasurementFiles.h"
#include "platform/ReadFile.h"

void LoadPointList(TPunkt& Points, const QString& FileName) {
    platform::FileRead read = platform::ReadRegularFile(FileName);
    if (!read.ok()) throw MeasurementFileError(UserFileReadFailure(FileName, read));
    QByteArray bytes = std::move(read.bytes);
    QBuffer buf(&bytes);
    buf.open(QIODevice::ReadOnly);
    TPunkt tmp;
    tmp.LoadFromStream(buf);
    Points = std::move(tmp);
}

void SavePointList(const TPunkt& Points, const QString& FileName) {
    SaveFileThroughTemporary(FileName, [&](QIODevice& d) { Points.SaveToStream(d); });
}
