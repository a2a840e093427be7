#pragma once
// Where the program keeps its companions and its settings; tests point both at temporary places.
#include <QString>

namespace platform {

class Registry;

// The program folder: the folder of the executable, unless a test set another.
QString programDirectory();
void setProgramDirectory(const QString& dir);  // empty: back to the executable's folder

// The program's settings store (one per process). setAppRegistryFile reopens it on another file.
Registry& appRegistry();
void setAppRegistryFile(const QString& filePath);

}  // namespace platform
