#pragma once
// Single-instance guard: one running copy of the program per user. A second copy tells the
// first one to come to the front and ends before it opens any window.
#include <QObject>
#include <QString>
#include <cstdint>

class QLocalServer;
class QLockFile;
class QWidget;

namespace app {

// The name the guard is made from (the lock file and the local socket carry it, per user).
inline constexpr const char* kInstanceName = "To jest program VKM30";

// Bits of the guard's flags.
enum : uint8_t {
    ifNoActivation = 1,  // the first copy could not listen for a second one: it is not raised
    ifNoGuard = 2,       // the lock could not be made: the program runs unguarded
    ifOtherRunning = 4,  // another copy runs: this one must end at once
};

class InstanceGuard : public QObject {
    Q_OBJECT
public:
    // Arms the guard in `directory` (default: runtimeDirectory()). When another copy holds the
    // lock, it is told to come to the front and ifOtherRunning is set.
    explicit InstanceGuard(const QString& directory = QString(), QObject* parent = nullptr);
    ~InstanceGuard() override;

    uint8_t flags() const { return flags_; }
    QString lockFilePath() const;
    QString serverPath() const;

    // Per-user base name of the lock and the socket.
    static QString baseName();
    // $XDG_RUNTIME_DIR when it is set and exists, else the temporary folder.
    static QString runtimeDirectory();
    // Where XDG_RUNTIME_DIR is missing, points it at a private folder of the user's in the
    // temporary folder (made with mode 0700), so neither Qt nor the guard have to fall back
    // with a warning on every start. Call before the application object exists.
    static void PrepareRuntimeDirectory();

signals:
    // A second copy was started.
    void activationRequested();

private:
    void tellRunningCopy();
    void listen();

    QString directory_;
    uint8_t flags_ = 0;
    QLockFile* lock_ = nullptr;
    QLocalServer* server_ = nullptr;
};

// The process's guard, armed on first use (after the QApplication exists).
InstanceGuard& ProcessInstanceGuard();
uint8_t GetInstanceFlags();

// Brings a window to the front, restored also when it was minimised.
void BringToFront(QWidget* window);

}  // namespace app
