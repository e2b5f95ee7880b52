// A long fuzz loop over the page file reader (not run by ctest): mutated page files must either
// load as sound pages or be refused with PageFileError. Any crash, hang or other exception is a
// fault. Usage: bench_page_file_fuzz [rounds] [seed]

#include "report/PageFile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <cstdio>
#include <cstdlib>

using namespace kavelon::report;

namespace {

PageSet seedPages() {
    PageSet s;
    s.fonts = {{QStringLiteral("Cambria"), 20, false, QColor(0, 0, 128)},
               {QStringLiteral("Arial"), 10, false, Qt::black}};
    for (int p = 0; p < 4; ++p) {
        Page page;
        for (int n = 0; n < 25; ++n) {
            page.items.push_back(
                {PageItem::Fill, Alignment::Left, 0, 1000, 2000 + 1060 * n, 18997, 1058, {}});
            page.items.push_back({PageItem::Text, Alignment::Left, 1, 6927, 2635 + 1060 * n, 2000,
                                  450, QStringLiteral("ООО Клиент %1").arg(p * 25 + n)});
        }
        page.items.push_back({PageItem::Text, Alignment::Centre, 0, 8281, 0, 4921, 900,
                              QStringLiteral("Печать заказов")});
        s.pages.push_back(page);
    }
    return s;
}

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
        const quint32 v = random.bounded(2) ? 0xffffffffu - random.bounded(16) : 0x7fffffffu;
        for (int i = 0; i < 4; ++i)
            bytes[at + i] = static_cast<char>(v >> (8 * i));
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

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const long rounds = argc > 1 ? std::atol(argv[1]) : 200000;
    const quint32 seed = argc > 2 ? static_cast<quint32>(std::atol(argv[2])) : 1;
    QRandomGenerator random(seed);
    const QByteArray good = encodePages(seedPages());
    long loaded = 0, refused = 0;
    QElapsedTimer clock;
    clock.start();
    for (long round = 0; round < rounds; ++round) {
        const QByteArray bytes = mutate(good, random);
        try {
            const PageSet pages = decodePages(bytes);
            for (const Page& p : pages.pages)
                for (const PageItem& i : p.items)
                    if (i.font >= pages.fonts.size() || i.width < 0 || i.height < 0) {
                        std::fprintf(stderr, "round %ld: an unsound page was accepted\n", round);
                        return 1;
                    }
            ++loaded;
        } catch (const PageFileError&) {
            ++refused;
        }
    }
    std::printf("%ld rounds (seed %u) in %lld ms: %ld loaded as sound pages, %ld refused\n", rounds,
                seed, static_cast<long long>(clock.elapsed()), loaded, refused);
    return 0;
}
