#include "foundations/StreamIO.h"

#include <bit>
#include <cstring>

namespace foundations {

void readExact(QIODevice& s, void* dst, qint64 n) {
    char* p = static_cast<char*>(dst);
    qint64 got = 0;
    while (got < n) {
        const qint64 r = s.read(p + got, n - got);
        if (r <= 0) throw StreamReadError("Stream read error");
        got += r;
    }
}

void writeExact(QIODevice& s, const void* src, qint64 n) {
    if (s.write(static_cast<const char*>(src), n) != n) throw StreamWriteError("Stream write error");
}

void putInt32LE(unsigned char* p, int32_t v) {
    const uint32_t u = static_cast<uint32_t>(v);
    for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(u >> (8 * i));
}

int32_t getInt32LE(const unsigned char* p) {
    uint32_t u = 0;
    for (int i = 0; i < 4; ++i) u |= static_cast<uint32_t>(p[i]) << (8 * i);
    return static_cast<int32_t>(u);
}

void putDoubleLE(unsigned char* p, double v) {
    const uint64_t u = std::bit_cast<uint64_t>(v);
    for (int i = 0; i < 8; ++i) p[i] = static_cast<unsigned char>(u >> (8 * i));
}

double getDoubleLE(const unsigned char* p) {
    uint64_t u = 0;
    for (int i = 0; i < 8; ++i) u |= static_cast<uint64_t>(p[i]) << (8 * i);
    return std::bit_cast<double>(u);
}

int32_t readInt32(QIODevice& s) {
    unsigned char b[4];
    readExact(s, b, 4);
    return getInt32LE(b);
}

void writeInt32(QIODevice& s, int32_t v) {
    unsigned char b[4];
    putInt32LE(b, v);
    writeExact(s, b, 4);
}

uint16_t readUInt16(QIODevice& s) {
    unsigned char b[2];
    readExact(s, b, 2);
    return static_cast<uint16_t>(b[0] | (b[1] << 8));
}

void writeUInt16(QIODevice& s, uint16_t v) {
    const unsigned char b[2] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8)};
    writeExact(s, b, 2);
}

double readDouble(QIODevice& s) {
    unsigned char b[8];
    readExact(s, b, 8);
    return getDoubleLE(b);
}

void writeDouble(QIODevice& s, double v) {
    unsigned char b[8];
    putDoubleLE(b, v);
    writeExact(s, b, 8);
}

uint8_t readByte(QIODevice& s) {
    unsigned char b;
    readExact(s, &b, 1);
    return b;
}

void writeByte(QIODevice& s, uint8_t v) { writeExact(s, &v, 1); }

}  // namespace foundations
