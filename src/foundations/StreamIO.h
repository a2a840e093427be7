#pragma once
// Little-endian binary transfers over a QIODevice, written byte by byte so that the stored
// format does not depend on the host. A short read or write throws.
#include <QByteArray>
#include <QIODevice>
#include <bit>
#include <cstdint>
#include <cstring>
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

// The same little-endian values read from bytes already in memory (a whole file read at once):
// a read past the end throws StreamReadError as a short stream does, and nothing is consumed.
class ByteReader {
public:
    ByteReader(const char* data, qsizetype size)
        : p_(reinterpret_cast<const unsigned char*>(data)), end_(p_ + size) {}
    explicit ByteReader(const QByteArray& bytes) : ByteReader(bytes.constData(), bytes.size()) {}
    qsizetype remaining() const { return end_ - p_; }
    void need(qsizetype n) const {
        if (n > remaining()) throw StreamReadError("Stream read error");
    }
    int32_t readInt32() {
        need(4);
        return static_cast<int32_t>(take<uint32_t>());
    }
    double readDouble() {
        need(8);
        return std::bit_cast<double>(take<uint64_t>());
    }
    uint8_t readByte() {
        need(1);
        return *p_++;
    }
    // For a caller that checked need(n * 8) already: n doubles at once.
    void readDoublesUnchecked(double* out, int n) {
        for (int i = 0; i < n; ++i) out[i] = std::bit_cast<double>(take<uint64_t>());
    }

private:
    template <class U>
    U take() {
        U v;
        if constexpr (std::endian::native == std::endian::little) {
            std::memcpy(&v, p_, sizeof v);
        } else {
            v = 0;
            for (size_t i = 0; i < sizeof v; ++i) v |= static_cast<U>(p_[i]) << (8 * i);
        }
        p_ += sizeof v;
        return v;
    }
    const unsigned char* p_;
    const unsigned char* end_;
};

// Little-endian values appended to a byte buffer, so a file is encoded whole and written once.
// They are gathered in a small block and appended a block at a time; flush() (or the end of
// the writer) appends what is left.
class ByteWriter {
public:
    explicit ByteWriter(QByteArray& bytes) : bytes_(bytes) {}
    ByteWriter(const ByteWriter&) = delete;
    ByteWriter& operator=(const ByteWriter&) = delete;
    ~ByteWriter() { flush(); }
    void writeInt32(int32_t v) { put(static_cast<uint32_t>(v)); }
    void writeDouble(double v) { put(std::bit_cast<uint64_t>(v)); }
    void writeByte(uint8_t v) { put(v); }
    void writeRaw(const char* data, qsizetype n) {
        flush();
        bytes_.append(data, n);
    }
    void flush() {
        if (used_ > 0) bytes_.append(block_, used_);
        used_ = 0;
    }

private:
    template <class U>
    void put(U v) {
        if (used_ + qsizetype(sizeof v) > qsizetype(sizeof block_)) flush();
        char* b = block_ + used_;
        if constexpr (std::endian::native == std::endian::little) {
            std::memcpy(b, &v, sizeof v);
        } else {
            for (size_t i = 0; i < sizeof v; ++i) b[i] = static_cast<char>(v >> (8 * i));
        }
        used_ += sizeof v;
    }
    QByteArray& bytes_;
    char block_[4096];
    qsizetype used_ = 0;
};

}  // namespace foundations
