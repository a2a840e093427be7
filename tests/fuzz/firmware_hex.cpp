// The firmware hex reader: any file is read line by line (CR LF or LF), the lines hold no line
// end, and an empty file is refused with a message.
#include "FuzzSupport.h"
#include "instrument/LadowanieProgramu.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) { return 0; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = fuzz::bytesOf(data, size);
    instrument::HexFile file;
    QString error;
    const bool ok = instrument::ReadHexFile(fuzz::writeScratch(QStringLiteral("r_sys16w.hex"), bytes), file, error);
    if (!ok) {
        FUZZ_CHECK(!error.isEmpty());
        FUZZ_CHECK(file.lines.empty());
        return 0;
    }
    FUZZ_CHECK(file.size == static_cast<int64_t>(size));
    FUZZ_CHECK(!file.lines.empty());
    QByteArray joined;
    for (const std::string& line : file.lines) {
        FUZZ_CHECK(line.find('\n') == std::string::npos);
        joined.append(line.data(), static_cast<qsizetype>(line.size()));
    }
    FUZZ_CHECK(joined.size() <= bytes.size());
    FUZZ_CHECK(static_cast<qsizetype>(file.lines.size()) <= bytes.count('\n') + 1);
    return 0;
}
