#include "app/Recording.h"

#include <QIODevice>
#include <exception>

#include "evaluation/MeasurementFiles.h"
#include "foundations/Cp1250.h"
#include "foundations/NumberFormat.h"
#include "foundations/StreamIO.h"

RecordingInterval NormalizedInterval(int hours, int minutes, int seconds) {
    RecordingInterval i{hours, minutes, seconds};
    if (hours == 0 && minutes == 0 && seconds == 0) i.seconds = 1;
    return i;
}

bool RecordingRowDue(const QDateTime& last, const RecordingInterval& interval, const QDateTime& now) {
    return last.addSecs(interval.TotalSeconds()) < now;
}

QString RecordingRowText(int number, const QString& dateTime, double value, int decimals,
                         const RecordingEnvironment& environment) {
    static constexpr int kWidths[6] = {2, 6, 5, 5, 5, 5};
    QString row = QString::number(number) + u';' + dateTime + u';' +
                  foundations::formatFixed(value, 10, decimals, foundations::systemDecimalSeparator());
    for (size_t i = 0; i < 6; ++i) row += u';' + environment[i].left(kWidths[i]);
    return row;
}

QString RecordingErrorRowText(const QString& dateTime, const QString& errorWord) {
    return QStringLiteral("--;") + dateTime + u';' + errorWord + QStringLiteral(";--;--;--;--;--;--");
}

void RecordingLog::AddRow(const QString& text) {
    rows_ << text;
    ++next_;
    saved_ = false;
}

void RecordingLog::AddErrorRow(const QString& text) {
    rows_ << text;
    saved_ = false;
}

void RecordingLog::Clear() {
    rows_.clear();
    next_ = 1;
}

int RecordingCountShown(bool allSamples, int recordingTicks, const RecordingLog& log) {
    return allSamples ? recordingTicks : log.NextNumber() - 1;
}

QString WriteRecordingRows(const QStringList& rows, const QString& fileName) {
    try {
        SaveFileThroughTemporary(fileName, [&](QIODevice& d) {
            for (const QString& r : rows) {
                const QByteArray line = foundations::toCp1250(r) + "\r\n";
                foundations::writeExact(d, line.constData(), line.size());
            }
        });
        return {};
    } catch (const MeasurementFileError& e) {
        return e.message();
    } catch (const std::exception& e) {
        return QString::fromLocal8Bit(e.what());
    }
}
