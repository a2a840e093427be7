#include "platform/AppPaths.h"

#include <QCoreApplication>
#include <memory>

#include "platform/Registry.h"

namespace platform {

namespace {
QString& dirOverride() {
    static QString d;
    return d;
}
std::unique_ptr<Registry>& registryInstance() {
    static std::unique_ptr<Registry> r;
    return r;
}
}  // namespace

QString programDirectory() {
    if (!dirOverride().isEmpty()) return dirOverride();
    return QCoreApplication::applicationDirPath();
}

void setProgramDirectory(const QString& dir) { dirOverride() = dir; }

Registry& appRegistry() {
    auto& r = registryInstance();
    if (!r) r = std::make_unique<Registry>();
    return *r;
}

void setAppRegistryFile(const QString& filePath) {
    auto& r = registryInstance();
    r.reset();
    r = std::make_unique<Registry>(filePath);
}

}  // namespace platform
