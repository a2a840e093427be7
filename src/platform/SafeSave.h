#pragma once
// Ends a write through QSaveFile: the buffered bytes are flushed first, because commit() would
// otherwise rename a file cut short by a full disk over the good one without a word.
#include <QSaveFile>
#include <QString>

namespace platform {

// Flushes and renames the temporary over the target; on any failure the temporary is dropped,
// the target stays as it was, and the reason is returned. Empty: saved.
QString CommitSaveFile(QSaveFile& file);

}  // namespace platform
