#pragma once
// The rules of the recording window as plain code: the interval, when a timed row is due, the
// text of a row and of the error row, and the log of rows with its numbering and saved state.
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <array>

// An interval of 0:0:0 is 0:0:1 (a row every second at the most).
struct RecordingInterval {
    int hours = 0, minutes = 0, seconds = 1;
    int TotalSeconds() const { return hours * 3600 + minutes * 60 + seconds; }
};
RecordingInterval NormalizedInterval(int hours, int minutes, int seconds);

// A timed row is due when the last row's time plus the interval is earlier than now.
bool RecordingRowDue(const QDateTime& last, const RecordingInterval& interval, const QDateTime& now);

// The environment captions in the order of the sections H, P, T, T1, T2, T3.
using RecordingEnvironment = std::array<QString, 6>;

// "number;date and time;value;H;P;T;T1;T2;T3": the value fixed-point with 10 significant digits
// and the readout's decimals, each caption cut to its first 2, 6, 5, 5, 5, 5 characters.
QString RecordingRowText(int number, const QString& dateTime, double value, int decimals,
                         const RecordingEnvironment& environment);
// "--;date and time;Błąd;--;--;--;--;--;--" (the error word translated).
QString RecordingErrorRowText(const QString& dateTime, const QString& errorWord);

// The timed log: rows are numbered from 1; an error row has no number and changes nothing in
// the numbering. Saved is cleared by every row added and set only by a write that succeeded.
class RecordingLog {
public:
    void AddRow(const QString& text);      // takes the next number's row
    void AddErrorRow(const QString& text);
    // Empties the list and restarts the numbering; the saved state stays as it was.
    void Clear();
    int NextNumber() const { return next_; }
    const QStringList& Rows() const { return rows_; }
    bool Saved() const { return saved_; }
    void MarkSaved() { saved_ = true; }
    void MarkUnsaved() { saved_ = false; }

private:
    QStringList rows_;
    int next_ = 1;
    bool saved_ = true;
};

// What "Liczba próbek:" shows: the samples the reading appended in the all-samples mode, the
// numbered rows of the log in the timed mode.
int RecordingCountShown(bool allSamples, int recordingTicks, const RecordingLog& log);

// Writes the rows as 8-bit text lines ended by CR LF through the safe-save routine; the message
// of a failed write, or an empty string.
QString WriteRecordingRows(const QStringList& rows, const QString& fileName);
