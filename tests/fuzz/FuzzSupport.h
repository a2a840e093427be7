#pragma once
// What every harness shares: a scratch folder for the files a reader needs on disk, a check
// that stops the run at the first broken property, and the application object the language
// and form code needs.
#include <QApplication>
#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace fuzz {

[[noreturn]] inline void fail(const char* what, const char* file, int line) {
    std::fprintf(stderr, "fuzz check failed: %s (%s:%d)\n", what, file, line);
    std::abort();
}

#define FUZZ_CHECK(cond) \
    do { \
        if (!(cond)) ::fuzz::fail(#cond, __FILE__, __LINE__); \
    } while (0)

// One folder per process, removed at exit.
inline const QString& scratchDir() {
    static QTemporaryDir dir;
    static const QString path = dir.path();
    if (!dir.isValid()) fail("no scratch folder", __FILE__, __LINE__);
    return path;
}

inline QString scratchPath(const QString& name) { return scratchDir() + u'/' + name; }

inline QString writeScratch(const QString& name, const QByteArray& bytes) {
    const QString path = scratchPath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        fail("cannot write the scratch file", __FILE__, __LINE__);
    return path;
}

inline QByteArray readScratch(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) fail("cannot read back a saved file", __FILE__, __LINE__);
    return f.readAll();
}

inline QByteArray bytesOf(const uint8_t* data, size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// A widget application on the offscreen platform, made once.
inline void ensureApplication() {
    if (QCoreApplication::instance()) return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
}

}  // namespace fuzz
