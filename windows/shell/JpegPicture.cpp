#include "windows/shell/JpegPicture.h"

#include "data/Errors.h"

#include <QFile>
#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>

// The resources live in a static library; nothing would pull them into the program otherwise.
static void initKavelonResources() {
    Q_INIT_RESOURCE(kavelon);
}

namespace kavelon {
namespace {

// libjpeg reports a fatal error by calling error_exit, which by default ends the process; ours
// jumps back into decodeInto instead. Warnings (a short file, bytes lost before a marker) are
// treated as damage too, since libjpeg would otherwise hand back a picture with a grey remainder.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void failDecoding(j_common_ptr info) {
    auto* manager = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, manager->message);
    std::longjmp(manager->jump, 1);
}

void onMessage(j_common_ptr info, int level) {
    if (level < 0)
        failDecoding(info);
}

// Only plain C data lives in this frame, so the jump back skips no destructor.
bool decodeInto(const QByteArray& data, QImage& image, char (&message)[JMSG_LENGTH_MAX]) {
    jpeg_decompress_struct info{};
    ErrorManager manager{};
    info.err = jpeg_std_error(&manager.base);
    manager.base.error_exit = failDecoding;
    manager.base.emit_message = onMessage;
    manager.base.output_message = [](j_common_ptr) {};
    if (setjmp(manager.jump)) {
        jpeg_destroy_decompress(&info);
        std::snprintf(message, JMSG_LENGTH_MAX, "%s", manager.message);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(data.constData()),
                 static_cast<unsigned long>(data.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    image = QImage(int(info.output_width), int(info.output_height), QImage::Format_RGB888);
    if (image.isNull()) {
        jpeg_destroy_decompress(&info);
        std::snprintf(message, JMSG_LENGTH_MAX, "the picture is too large (%u x %u)",
                      info.output_width, info.output_height);
        return false;
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image.scanLine(int(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

} // namespace

QImage decodeJpeg(const QByteArray& data) {
    if (data.isEmpty())
        throw ResourceError(QStringLiteral("The picture has no data"));
    QImage image;
    char message[JMSG_LENGTH_MAX] = {};
    if (!decodeInto(data, image, message))
        throw ResourceError(QStringLiteral("The picture cannot be decoded: %1")
                                .arg(QString::fromLocal8Bit(message)));
    return image.convertToFormat(QImage::Format_RGB32);
}

QImage loadJpegResource(const QString& path) {
    initKavelonResources();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw ResourceError(QStringLiteral("The picture %1 is missing").arg(path));
    return decodeJpeg(file.readAll());
}

} // namespace kavelon
