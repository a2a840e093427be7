#pragma once
// Point-list files ".dtp" (positions in mm) and ".dtk" (angles in degrees): nothing but a TPunkt
// stream, no header.
#include <QString>

#include "foundations/PomiarCol.h"

inline constexpr const char* kPositionListExt = ".dtp";
inline constexpr const char* kAngularListExt = ".dtk";

// Replaces Points with the file's list; a missing or short file throws (MeasurementFileError,
// foundations::StreamReadError) and leaves Points as it was.
void LoadPointList(TPunkt& Points, const QString& FileName);
// Creates or replaces the file; on an error (MeasurementFileError) the old file stays.
void SavePointList(const TPunkt& Points, const QString& FileName);
