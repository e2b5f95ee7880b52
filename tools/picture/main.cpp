// kavelon-picture OUTDIR: draws resources/background.jpg and resources/kavelon.png anew.
// The JPEG is written baseline (not progressive) at the quality that brings it nearest to
// the size the main window's picture is meant to have, so the decoder sees a typical photo.

#include "Drawing.h"

#include <QDir>
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>
#include <vector>

namespace {

constexpr unsigned long kWantedBytes = 81193;

std::vector<unsigned char> encodeBaseline(const QImage& picture, int quality) {
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(rgb.width());
    info.image_height = JDIMENSION(rgb.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    info.optimize_coding = TRUE;
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        auto* row = const_cast<JSAMPROW>(rgb.constScanLine(int(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<unsigned char> bytes(buffer, buffer + size);
    std::free(buffer);
    return bytes;
}

bool writeFile(const QString& path, const std::vector<unsigned char>& bytes) {
    FILE* file = std::fopen(QFile::encodeName(path).constData(), "wb");
    if (!file)
        return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: kavelon-picture OUTDIR\n", stderr);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));

    const QImage background = kavelon::picture::drawBackground();
    std::vector<unsigned char> best;
    for (int quality = 40; quality <= 98; ++quality) {
        auto bytes = encodeBaseline(background, quality);
        const auto distance = [](const std::vector<unsigned char>& b) {
            return std::labs(long(b.size()) - long(kWantedBytes));
        };
        if (best.empty() || distance(bytes) < distance(best))
            best = std::move(bytes);
    }
    const QString jpegPath = out.filePath(QStringLiteral("background.jpg"));
    if (!writeFile(jpegPath, best)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(jpegPath));
        return 1;
    }
    const QString iconPath = out.filePath(QStringLiteral("kavelon.png"));
    if (!kavelon::picture::drawIcon().save(iconPath, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(iconPath));
        return 1;
    }
    std::printf("%s: %zu bytes\n%s\n", qPrintable(jpegPath), best.size(), qPrintable(iconPath));
    return 0;
}
