// The page file: what is saved loads back the same, and damaged or hostile files are refused
// with a plain error, never a crash or a huge allocation.

#include "report/PageFile.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kavelon::report;

namespace {

PageSet samplePages() {
    PageSet s;
    s.fonts = {{QStringLiteral("Cambria"), 20, false, QColor(0, 0, 128)},
               {QStringLiteral("Arial"), 10, false, Qt::black},
               {QStringLiteral("Georgia"), 9, true, Qt::black}};
    for (int p = 0; p < 3; ++p) {
        Page page;
        for (int n = 0; n < 5; ++n) {
            page.items.push_back(
                {PageItem::Fill, Alignment::Left, 0, 1000, 2000 + 1060 * n, 18997, 1058, {}});
            page.items.push_back({PageItem::Text, Alignment::Left, 1, 1000, 2635 + 1060 * n, 600,
                                  450, QStringLiteral("Клиент %1 «Ромашка»").arg(p * 5 + n)});
        }
        page.items.push_back({PageItem::Text, Alignment::Centre, 0, 8281, 0, 4921, 900,
                              QStringLiteral("Печать заказов")});
        s.pages.push_back(page);
    }
    return s;
}

QString refusal(const QByteArray& bytes) {
    try {
        decodePages(bytes);
        return {};
    } catch (const PageFileError& e) {
        return e.message();
    }
}

void put32(QByteArray& b, int at, quint32 v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<char>(v >> (8 * i));
}

// One of five kinds of damage, at random places.
QByteArray mutate(QByteArray bytes, QRandomGenerator& random) {
    switch (random.bounded(5)) {
    case 0: // flipped bits
        for (int n = 1 + random.bounded(8); n > 0; --n)
            bytes[random.bounded(bytes.size())] ^= static_cast<char>(1 << random.bounded(8));
        break;
    case 1: // cut short
        bytes.truncate(random.bounded(bytes.size()));
        break;
    case 2: { // a count or length made huge or negative
        const int at = random.bounded(std::max<qsizetype>(1, bytes.size() - 4));
        put32(bytes, at, random.bounded(2) ? 0xffffffffu - random.bounded(16) : 0x7fffffffu);
        break;
    }
    case 3: { // a run of bytes duplicated elsewhere
        const int from = random.bounded(bytes.size()), to = random.bounded(bytes.size());
        bytes.insert(to, bytes.mid(from, random.bounded(64)));
        break;
    }
    default: // random bytes over a stretch
        for (int n = random.bounded(32), at = random.bounded(bytes.size());
             n > 0 && at < bytes.size(); --n, ++at)
            bytes[at] = static_cast<char>(random.bounded(256));
    }
    return bytes;
}

} // namespace

TEST(PageFile, SavedPagesLoadBackTheSame) {
    QTemporaryDir dir;
    const PageSet pages = samplePages();
    const QString name = dir.filePath(QStringLiteral("заказы.kvpages"));
    savePageFile(name, pages);
    EXPECT_EQ(loadPageFile(name), pages);
    EXPECT_EQ(pageFileFilter(), QStringLiteral("Report pages (*.kvpages)"));

    // The resolution the texts were laid out at travels with them; a file of the first version,
    // which lacks it, was laid out at 96 dots per inch.
    PageSet fine = pages;
    fine.layoutDpi = 120;
    EXPECT_EQ(decodePages(encodePages(fine)).layoutDpi, 120);
    QByteArray first = encodePages(fine);
    put32(first, 8, 1);
    first.remove(20, 4);
    const PageSet old = decodePages(first);
    EXPECT_EQ(old.layoutDpi, 96);
    EXPECT_EQ(old.pages, pages.pages);

    try {
        loadPageFile(dir.filePath(QStringLiteral("нет.kvpages")));
        FAIL() << "a missing file loaded";
    } catch (const PageFileError& e) {
        EXPECT_TRUE(e.message().startsWith(QStringLiteral("Cannot open the file")));
    }
}

TEST(PageFile, DamagedAndHostileFilesAreRefused) {
    const QByteArray good = encodePages(samplePages());
    EXPECT_EQ(refusal(QByteArray("PK\x03\x04 not ours at all")),
              QStringLiteral("The file is not a report page file"));
    QByteArray other = good;
    put32(other, 8, 3);
    EXPECT_EQ(refusal(other),
              QStringLiteral("The report page file has a version this program cannot read"));

    // Every truncation is refused, and so is anything after the last page.
    for (int size = 0; size < good.size(); ++size)
        EXPECT_FALSE(refusal(good.left(size)).isEmpty()) << size;
    EXPECT_EQ(refusal(good + 'x'), QStringLiteral("The page file is damaged"));

    // Counts and lengths far beyond the file are refused before anything is allocated for them.
    QByteArray hugePages = good;
    const int fontsAt = 24;
    EXPECT_EQ(static_cast<quint8>(good[fontsAt]), 3);
    put32(hugePages, fontsAt, 0xffffffffu);
    EXPECT_EQ(refusal(hugePages), QStringLiteral("The page file is damaged"));
    QByteArray longFamily = good;
    put32(longFamily, fontsAt + 4, 0x7fffffffu);
    EXPECT_EQ(refusal(longFamily), QStringLiteral("The page file is damaged"));
    // A header that promises a million pages of 100 000 items each, in a few bytes.
    QByteArray promise = good.left(fontsAt + 4);
    put32(promise, fontsAt, 1);
    promise += QByteArray("\0\0\0\0", 4) +
               QByteArray("\xe8\x03\0\0\0\0\0\0\0", 9); // font: "", 10 pt, regular, black
    promise += QByteArray("\x40\x42\x0f\0", 4) + QByteArray("\xa0\x86\x01\0", 4);
    EXPECT_EQ(refusal(promise), QStringLiteral("The page file is damaged"));

    // Flipped bits: refused or read as sound pages, never anything else.
    QRandomGenerator random(20261209);
    for (int round = 0; round < 3000; ++round) {
        QByteArray bytes = good;
        const int flips = 1 + random.bounded(4);
        for (int f = 0; f < flips; ++f)
            bytes[random.bounded(bytes.size())] ^= static_cast<char>(1 << random.bounded(8));
        try {
            const PageSet pages = decodePages(bytes);
            for (const Page& p : pages.pages)
                for (const PageItem& i : p.items)
                    ASSERT_LT(i.font, pages.fonts.size());
        } catch (const PageFileError&) {
        }
    }
}

// Mutated page files of every kind load as sound pages or are refused with PageFileError;
// anything else (a crash, a hang, another exception) fails. Short here; 200 000 rounds with
// KAVELON_TRIALS=full.
TEST(PageFile, MutatedFilesLoadAsSoundPagesOrAreRefused) {
    const long rounds = qgetenv("KAVELON_TRIALS") == "full" ? 200000 : 20000;
    QRandomGenerator random(1);
    const QByteArray good = encodePages(samplePages());
    long loaded = 0, refused = 0;
    for (long round = 0; round < rounds; ++round) {
        const QByteArray bytes = mutate(good, random);
        try {
            const PageSet pages = decodePages(bytes);
            for (const Page& p : pages.pages)
                for (const PageItem& i : p.items) {
                    ASSERT_LT(i.font, pages.fonts.size()) << "round " << round;
                    ASSERT_GE(i.width, 0) << "round " << round;
                    ASSERT_GE(i.height, 0) << "round " << round;
                }
            ++loaded;
        } catch (const PageFileError&) {
            ++refused;
        }
    }
    EXPECT_GT(refused, 0);
    RecordProperty("rounds", QStringLiteral("%1 rounds: %2 loaded as sound pages, %3 refused")
                                 .arg(rounds)
                                 .arg(loaded)
                                 .arg(refused)
                                 .toStdString());
}
