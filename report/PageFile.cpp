#include "report/PageFile.h"

#include <QFile>
#include <QSaveFile>
#include <cmath>
#include <cstring>

namespace kavelon::report {

namespace {

constexpr char magic[8] = {'K', 'V', 'P', 'A', 'G', 'E', 'S', '\n'};
constexpr std::uint32_t version = 2;
constexpr std::uint32_t firstVersion = 1; // without the layout resolution: 96 dots per inch
constexpr std::uint32_t maxFonts = 64;
constexpr std::uint32_t maxPages = 1000000;
constexpr std::uint32_t maxItems = 100000;
constexpr std::uint32_t maxFamilyBytes = 256;
constexpr std::uint32_t maxTextBytes = 4096;
constexpr std::int32_t maxCoordinate = 100000; // one metre
constexpr qint64 maxFileBytes = qint64(1) << 30;
constexpr std::uint32_t smallestItemBytes = 20;

class Writer {
public:
    void raw(const void* p, int n) { bytes.append(static_cast<const char*>(p), n); }
    void u8(std::uint8_t v) { bytes.append(static_cast<char>(v)); }
    void u16(std::uint16_t v) {
        for (int i = 0; i < 2; ++i)
            u8(static_cast<std::uint8_t>(v >> (8 * i)));
    }
    void u32(std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            u8(static_cast<std::uint8_t>(v >> (8 * i)));
    }
    void i32(std::int32_t v) { u32(static_cast<std::uint32_t>(v)); }
    void string(const QString& s) {
        const QByteArray utf8 = s.toUtf8();
        u32(static_cast<std::uint32_t>(utf8.size()));
        bytes.append(utf8);
    }
    QByteArray bytes;
};

[[noreturn]] void damaged() {
    throw PageFileError(QStringLiteral("The page file is damaged"));
}

class Reader {
public:
    explicit Reader(const QByteArray& b)
        : p_(reinterpret_cast<const unsigned char*>(b.constData())), left_(b.size()) {}
    qint64 left() const { return left_; }
    const unsigned char* take(qint64 n) {
        if (n < 0 || n > left_)
            damaged();
        const unsigned char* at = p_;
        p_ += n;
        left_ -= n;
        return at;
    }
    std::uint8_t u8() { return *take(1); }
    std::uint16_t u16() {
        const unsigned char* b = take(2);
        return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
    }
    std::uint32_t u32() {
        const unsigned char* b = take(4);
        return std::uint32_t(b[0]) | (std::uint32_t(b[1]) << 8) | (std::uint32_t(b[2]) << 16) |
               (std::uint32_t(b[3]) << 24);
    }
    std::int32_t i32(std::int32_t low, std::int32_t high) {
        const auto v = static_cast<std::int32_t>(u32());
        if (v < low || v > high)
            damaged();
        return v;
    }
    std::uint32_t count(std::uint32_t low, std::uint32_t high, std::uint32_t bytesEach) {
        const std::uint32_t n = u32();
        if (n < low || n > high || qint64(n) * bytesEach > left_)
            damaged();
        return n;
    }
    QString string(std::uint32_t maxBytes) {
        const std::uint32_t n = u32();
        if (n > maxBytes)
            damaged();
        const char* b = reinterpret_cast<const char*>(take(n));
        QString s = QString::fromUtf8(b, n);
        // Invalid UTF-8 turns into replacement characters; the text stays one line.
        if (s.contains(u'\n') || s.contains(u'\r') || s.contains(QChar(0)))
            damaged();
        return s;
    }

private:
    const unsigned char* p_;
    qint64 left_;
};

} // namespace

QString pageFileFilter() {
    return QStringLiteral("Report pages (*.%1)").arg(QLatin1String(pageFileExtension));
}

QByteArray encodePages(const PageSet& pages) {
    Writer w;
    w.raw(magic, sizeof magic);
    w.u32(version);
    w.i32(pages.width);
    w.i32(pages.height);
    w.i32(static_cast<std::int32_t>(std::lround(pages.layoutDpi * 100)));
    w.u32(static_cast<std::uint32_t>(pages.fonts.size()));
    for (const FontSpec& f : pages.fonts) {
        w.string(f.family);
        w.i32(static_cast<std::int32_t>(std::lround(f.pointSize * 100)));
        w.u8(f.bold ? 1 : 0);
        w.u32(f.colour.rgb() & 0xffffffu);
    }
    w.u32(static_cast<std::uint32_t>(pages.pages.size()));
    for (const Page& page : pages.pages) {
        w.u32(static_cast<std::uint32_t>(page.items.size()));
        for (const PageItem& i : page.items) {
            w.u8(i.kind);
            w.u8(i.alignment == Alignment::Centre ? 1 : 0);
            w.u16(i.font);
            w.i32(i.x);
            w.i32(i.y);
            w.i32(i.width);
            w.i32(i.height);
            if (i.kind == PageItem::Text)
                w.string(i.text);
        }
    }
    return w.bytes;
}

PageSet decodePages(const QByteArray& bytes) {
    Reader r(bytes);
    if (r.left() < qint64(sizeof magic) ||
        std::memcmp(r.take(sizeof magic), magic, sizeof magic) != 0)
        throw PageFileError(QStringLiteral("The file is not a report page file"));
    const std::uint32_t fileVersion = r.u32();
    if (fileVersion != version && fileVersion != firstVersion)
        throw PageFileError(
            QStringLiteral("The report page file has a version this program cannot read"));
    PageSet pages;
    pages.width = r.i32(1, maxCoordinate);
    pages.height = r.i32(1, maxCoordinate);
    pages.layoutDpi = fileVersion == firstVersion ? 96.0 : r.i32(1000, 240000) / 100.0;
    const std::uint32_t fonts = r.count(1, maxFonts, 13);
    pages.fonts.reserve(fonts);
    for (std::uint32_t n = 0; n < fonts; ++n) {
        FontSpec f;
        f.family = r.string(maxFamilyBytes);
        f.pointSize = r.i32(1, 100000) / 100.0;
        const std::uint8_t bold = r.u8();
        if (bold > 1)
            damaged();
        f.bold = bold == 1;
        const std::uint32_t rgb = r.u32();
        if (rgb > 0xffffffu)
            damaged();
        f.colour = QColor::fromRgb(static_cast<QRgb>(rgb | 0xff000000u));
        pages.fonts.push_back(std::move(f));
    }
    const std::uint32_t pageCount = r.count(1, maxPages, 4);
    pages.pages.reserve(pageCount);
    for (std::uint32_t p = 0; p < pageCount; ++p) {
        Page page;
        const std::uint32_t items = r.count(0, maxItems, smallestItemBytes);
        page.items.reserve(items);
        for (std::uint32_t n = 0; n < items; ++n) {
            PageItem i;
            const std::uint8_t kind = r.u8();
            const std::uint8_t alignment = r.u8();
            i.font = r.u16();
            if (kind > 1 || alignment > 1 || i.font >= fonts)
                damaged();
            i.kind = static_cast<PageItem::Kind>(kind);
            i.alignment = alignment ? Alignment::Centre : Alignment::Left;
            i.x = r.i32(-maxCoordinate, maxCoordinate);
            i.y = r.i32(-maxCoordinate, maxCoordinate);
            i.width = r.i32(0, maxCoordinate);
            i.height = r.i32(0, maxCoordinate);
            if (i.kind == PageItem::Text)
                i.text = r.string(maxTextBytes);
            page.items.push_back(std::move(i));
        }
        pages.pages.push_back(std::move(page));
    }
    if (r.left() != 0)
        damaged();
    return pages;
}

void savePageFile(const QString& fileName, const PageSet& pages) {
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(encodePages(pages)) < 0 || !file.commit())
        throw PageFileError(QStringLiteral("Cannot write the file %1").arg(fileName));
}

PageSet loadPageFile(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw PageFileError(QStringLiteral("Cannot open the file %1").arg(fileName));
    if (file.size() > maxFileBytes)
        throw PageFileError(QStringLiteral("The file is too large to be a report page file"));
    return decodePages(file.readAll());
}

} // namespace kavelon::report
