#pragma once
// The pipe between the reading child and the importing parent: a stream of frames, each a kind
// byte, a 32-bit little-endian length and that many bytes of payload.

#include <QByteArray>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace kavelon::dbtool::frames {

enum Kind : char {
    TableBegin = 'T', // u32 schema table index, u32 stored rows, u32 n, n × text skipped column
    Row = 'R',        // per column of our table: a value tag and its payload
    TableEnd = 'E',   // u32 rows read
    Failure = 'X',    // text: what is wrong with the file, in plain words
    Done = 'Z',
};

enum ValueTag : char { Null = 'N', Integer = 'I', Date = 'D', Text = 'S', True = '1', False = '0' };

class Payload {
public:
    void u32(std::uint32_t v) { raw(&v, 4); }
    void i64(std::int64_t v) { raw(&v, 8); }
    void f64(double v) { raw(&v, 8); }
    void tag(char t) { bytes_.append(t); }
    void text(std::string_view s) {
        u32(std::uint32_t(s.size()));
        bytes_.append(s.data(), qsizetype(s.size()));
    }
    const QByteArray& bytes() const { return bytes_; }
    void clear() { bytes_.clear(); }

private:
    void raw(const void* p, size_t n) { bytes_.append(static_cast<const char*>(p), qsizetype(n)); }
    QByteArray bytes_;
};

// Reads a payload front to back; a read past the end marks it broken instead of overrunning.
class Cursor {
public:
    Cursor(const char* data, size_t size) : data_(data), size_(size) {}
    bool ok() const { return ok_; }
    bool atEnd() const { return at_ == size_; }
    std::uint32_t u32() { return fixed<std::uint32_t>(); }
    std::int64_t i64() { return fixed<std::int64_t>(); }
    double f64() { return fixed<double>(); }
    char tag() { return fixed<char>(); }
    QByteArray text() {
        const std::uint32_t n = u32();
        if (!ok_ || n > size_ - at_) {
            ok_ = false;
            return {};
        }
        QByteArray s(data_ + at_, qsizetype(n));
        at_ += n;
        return s;
    }

private:
    template <typename T> T fixed() {
        T v{};
        if (size_ - at_ < sizeof(T)) {
            ok_ = false;
            return v;
        }
        std::memcpy(&v, data_ + at_, sizeof(T));
        at_ += sizeof(T);
        return v;
    }
    const char* data_;
    size_t size_;
    size_t at_ = 0;
    bool ok_ = true;
};

} // namespace kavelon::dbtool::frames
