#pragma once
// The one way the program writes a file: into a temporary beside the target, flushed and checked,
// then renamed over the target. A flush failure (a full disk) drops the temporary, so the old file
// stays; QSaveFile::commit() alone would rename a file cut short over the good one without a word.
// No other code opens a file for writing (tests/platform/SafeSaveOnly_test.cpp checks the sources).
#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <functional>

namespace platform {

// Body writes the whole content into the device and returns false when a write failed. Empty
// result: saved. Otherwise the reason, and the target is untouched. An exception from Body drops
// the temporary and passes on.
QString SaveThroughTemporary(const QString& FileName, const std::function<bool(QIODevice&)>& Body);

// The same for content already made.
QString SaveBytes(const QString& FileName, const QByteArray& Bytes);

}  // namespace platform
