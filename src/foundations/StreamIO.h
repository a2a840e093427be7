#pragma once
// Little-endian binary transfers over a QIODevice, written byte by byte so that the stored
// format does not depend on the host. A short read or write throws.
#include <QIODevice>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace foundations {

struct StreamReadError : std::runtime_error {
    explicit StreamReadError(const std::string& what) : std::runtime_error(what) {}
};
struct StreamWriteError : std::runtime_error {
    explicit StreamWriteError(const std::string& what) : std::runtime_error(what) {}
};

void readExact(QIODevice& s, void* dst, qint64 n);
void writeExact(QIODevice& s, const void* src, qint64 n);

int32_t readInt32(QIODevice& s);
void writeInt32(QIODevice& s, int32_t v);
uint16_t readUInt16(QIODevice& s);
void writeUInt16(QIODevice& s, uint16_t v);
double readDouble(QIODevice& s);
void writeDouble(QIODevice& s, double v);
uint8_t readByte(QIODevice& s);
void writeByte(QIODevice& s, uint8_t v);

// Encoders into plain byte buffers, for fixed layouts built in memory.
void putInt32LE(unsigned char* p, int32_t v);
int32_t getInt32LE(const unsigned char* p);
void putDoubleLE(unsigned char* p, double v);
double getDoubleLE(const unsigned char* p);

}  // namespace foundations
