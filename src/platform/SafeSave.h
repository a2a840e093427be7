#pragma once
// The one way the program writes a file: into a temporary beside the target, flushed and checked,
// then renamed over the target. A failed write (a full disk) drops the temporary, so the old file
// stays. No other code opens a file for writing (tests/platform/SafeSaveOnly_test.cpp checks the
// sources).
//
// The temporary is named after the target: "<target>.~vkm30-" and six letters or digits. It is
// locked while its save runs; one that no save holds any more (the program was killed during a
// save) is removed by the next save of the same target, and nothing else is ever removed.
#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringList>
#include <functional>

namespace platform {

// Body writes the whole content into the device and returns false when a write failed. Empty
// result: saved. Otherwise the reason, and the target is untouched. An exception from Body drops
// the temporary and passes on.
QString SaveThroughTemporary(const QString& FileName, const std::function<bool(QIODevice&)>& Body);

// The same for content already made.
QString SaveBytes(const QString& FileName, const QByteArray& Bytes);

// True for a name this routine gives its temporaries of FileName.
bool IsTemporaryOf(const QString& FileName, const QString& candidate);
// Removes the temporaries of FileName that no running save holds; gives back what it removed.
QStringList RemoveStaleTemporaries(const QString& FileName);

// Copies a damaged file to a free name beside it ("<name>.damaged", "<name>.damaged2", ...) so
// that a later save of the name loses nothing. Empty result: no copy could be made.
QString KeepDamagedCopy(const QString& FileName);

}  // namespace platform
