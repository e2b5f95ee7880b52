// The background picture built into the program, and what damaged JPEG data does to the decoder.

#include "data/Errors.h"
#include "windows/shell/JpegPicture.h"

#include <QFile>
#include <gtest/gtest.h>

using kavelon::ResourceError;

namespace {

QByteArray embeddedPicture() {
    kavelon::loadJpegResource(
        QStringLiteral(":/background.jpg")); // makes sure the resources are in
    QFile file(QStringLiteral(":/background.jpg"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

QString messageOf(const QByteArray& data) {
    try {
        kavelon::decodeJpeg(data);
    } catch (const ResourceError& error) {
        return error.message();
    }
    return QStringLiteral("<no error>");
}

} // namespace

TEST(JpegPicture, EmbeddedBackgroundDecodesInColour) {
    const QImage picture = kavelon::loadJpegResource(QStringLiteral(":/background.jpg"));
    ASSERT_EQ(picture.size(), QSize(800, 600));
    // Sky at the top, so blue outweighs red there: a swapped channel order would show here.
    const QColor sky = picture.pixelColor(20, 20);
    EXPECT_GT(sky.blue(), sky.red() + 60);

    const QByteArray bytes = embeddedPicture();
    EXPECT_GT(bytes.size(), 60000);
    EXPECT_EQ(kavelon::decodeJpeg(bytes).size(), QSize(800, 600));
    // Baseline: the frame header is SOF0, never the progressive SOF2.
    EXPECT_TRUE(bytes.contains(QByteArray("\xFF\xC0", 2)));
    EXPECT_FALSE(bytes.contains(QByteArray("\xFF\xC2", 2)));
}

TEST(JpegPicture, MissingOrDamagedDataThrowsInsteadOfEndingTheProgram) {
    const QByteArray good = embeddedPicture();
    ASSERT_FALSE(good.isEmpty());

    EXPECT_EQ(messageOf(QByteArray()), QStringLiteral("The picture has no data"));
    EXPECT_TRUE(messageOf("not a picture at all").startsWith("The picture cannot be decoded: "));
    EXPECT_THROW(kavelon::decodeJpeg(good.left(good.size() / 2)), ResourceError);
    EXPECT_THROW(kavelon::decodeJpeg(good.left(400)), ResourceError);
    EXPECT_THROW(kavelon::decodeJpeg(good.left(2)), ResourceError);

    QByteArray scrambled = good;
    for (qsizetype i = good.size() / 3; i < good.size() / 3 + 4000; ++i)
        scrambled[i] = char(0xFF);
    EXPECT_THROW(kavelon::decodeJpeg(scrambled), ResourceError);

    EXPECT_THROW(kavelon::loadJpegResource(QStringLiteral(":/no-such-picture.jpg")), ResourceError);
    // After all that the decoder still works.
    EXPECT_EQ(kavelon::decodeJpeg(good).size(), QSize(800, 600));
}
