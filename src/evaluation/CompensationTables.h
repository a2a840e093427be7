#pragma once
// Compensation tables for CNC controls: the error of the axis at each target point of a
// positioning run, relative to a reference point, as a text file in one of five formats
// (Linear, Incremental, Siemens, HP, Fanuc). A control moves the machine by these numbers, so a
// run that a format cannot represent faithfully is refused before any file is touched.
//
// Values come from the per-point means over all cycles: f forward and r backward mean (µm),
// m = (f + r) / 2, positions p in mm. The Linear, Incremental and HP tables refer to the first
// point (d0 = m_0); Siemens and Fanuc to the chosen base point. A unidirectional run has no
// backward readings: its backward means are taken equal to the forward ones, so m = f and the
// mean reversal is 0 (halving the forward error would compensate only half of it).
//
// Files are code page 1250 text with CR LF line ends, written through a temporary file that
// replaces the target only when complete. Fields x:w:d are right-aligned, never cut, and
// rounded half away from zero; Fanuc's values are rounded to the nearest integer, ties to even.
// Incremental values are differences of the rounded running values, so that adding them up
// gives back each point's rounded error without any drift from rounding.
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <cstdint>

#include "evaluation/MeasurementFilesDocument.h"
#include "evaluation/MeasurementHeader.h"
#include "foundations/PomiarCol.h"

namespace evaluation {

enum CompTableFormat : uint8_t {
    ctfLinear = 0,
    ctfIncremental = 1,
    ctfSiemens = 2,
    ctfHP = 3,
    ctfFanuc = 4,
    ctfNone = 5,  // the format dialog was cancelled
};
inline constexpr int kCompTableFormatCount = 5;

// The choices of the format dialog, remembered between runs of the program ("CTFormat",
// "CTSys", "CTAxis", "BasePoint").
struct CompTableChoice {
    uint8_t Format = ctfLinear;  // 0..4, or ctfNone
    uint8_t System = 0;          // index into CompTableSystemChars()
    uint8_t Axis = 0;            // index into the format's axis list
    int32_t BasePoint = 0;       // base point index, 0-based
    bool operator==(const CompTableChoice&) const = default;
};

// Fixed name tables.
const QStringList& CompTableFormatNames();  // "Linear", "Incremental", "Siemens", "HP", "Fanuc"
const QStringList& CompTableSystemChars();  // "0", "1"
const QStringList& SiemensAxisNames();      // "AX1", "AX2", "AX3"
const QStringList& FanucAxisNumbers();      // "1" .. "8"

// What the format dialog offers for a format: which choices are enabled and the axis list
// (Fanuc's numbers for Fanuc, Siemens' names otherwise).
struct CompTableControls {
    bool System = false;
    bool BasePoint = false;
    bool Axis = false;
    QStringList AxisItems;
};
CompTableControls CompTableControlsFor(int format);

// Item of the base point list: "3 - 300 mm" for point 3 at 300 mm.
QString BasePointItemText(int index, double position, int lengthUnit = 0, QChar separator = u'.');

// The dialog's preset from remembered choices: format 5 (or unknown) shows Linear; a base
// point, system or axis outside its list shows item 0 (none when the list is empty), so
// confirming the dialog never hands back an index that does not exist.
CompTableChoice CompTableDialogPreset(const CompTableChoice& remembered, int pointCount);

// The run as the tables see it.
struct CompTableRun {
    TPunkt Means;  // per point: Dystans target mm, Xa forward mean µm, Xr backward mean µm
    bool Unidirectional = false;
    QString Axis;  // axis text of the measurement header
    QString Date;  // date of the measurement header
};
// Means of every cycle (the points of the first cycle, all of them present in every cycle).
CompTableRun CompTableRunFrom(const TCykl& cycles, const TMeasurementHeader& header);

enum class CompTableStatus {
    Written,
    NotWritten,           // format 5: the dialog was cancelled
    NoPoints,             // no cycle, or the first cycle has no point
    TooFewPoints,         // Siemens and Fanuc need two points for the spacing
    BasePointOutOfRange,  // Siemens and Fanuc
    UnknownChoice,        // format, axis or system index outside its list
    UnevenSpacing,        // Siemens and Fanuc: targets not rising in equal steps
    FractionalSpacing,    // Fanuc: the spacing is not a whole number of mm
    NotFinite,            // a target or mean is not a finite number
    FileError,            // the file could not be created or written
};
struct CompTableResult {
    CompTableStatus Status = CompTableStatus::Written;
    QString Message;  // for a message box; empty for Written and NotWritten
    bool ok() const { return Status == CompTableStatus::Written; }
};

// The writers. Nothing is created or replaced unless the result is Written. `Now` is the
// current date and time written in the heading.
CompTableResult WriteCompTableLinear(const QString& FileName, const CompTableRun& Run,
                                     const QDateTime& Now = QDateTime::currentDateTime());
CompTableResult WriteCompTableIncremental(const QString& FileName, const CompTableRun& Run,
                                          const QDateTime& Now = QDateTime::currentDateTime());
CompTableResult WriteCompTableHP(const QString& FileName, const CompTableRun& Run,
                                 const QDateTime& Now = QDateTime::currentDateTime());
// Values in mm; AxisName such as "AX1", SystemChar "0" or "1".
CompTableResult WriteCompTableSiemens(const QString& FileName, const CompTableRun& Run, int32_t BasePoint,
                                      const QString& AxisName, const QString& SystemChar);
// Values in µm; AxisName is the axis number "1" .. "8".
CompTableResult WriteCompTableFanuc(const QString& FileName, const CompTableRun& Run, int32_t BasePoint,
                                    const QString& AxisName);

// The writer of Choice.Format with the names of its axis and system indexes; format 5 writes
// nothing (NotWritten).
CompTableResult WriteCompTable(const QString& FileName, const CompTableRun& Run, const CompTableChoice& Choice,
                               const QDateTime& Now = QDateTime::currentDateTime());

// The save dialog of the compensation-table command: the file name proposed from the main
// window's caption (mode caption, " - ", file name) less the mode caption, " - " and the
// extension; the positioning folder; text files.
FileDialogSettings CompTableSaveDialog(const QString& WindowCaption, const QString& PositioningModeCaption,
                                       const QString& PositioningDir);

// "Current date: " text: the system's short date and long time (without a time zone).
QString CompTableDateTimeText(const QDateTime& dt);

}  // namespace evaluation
