#include "Drawing.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>
#include <random>

namespace kavelon::picture {
namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr double kHorizon = 335;
constexpr double kRoad = 398;     // where the lorry's tyres touch the far lane
constexpr double kDeckTop = 402;  // upper edge of the deck's near face
constexpr double kDeckBase = 446; // lower edge of the deck's near face

void drawSky(QPainter& p) {
    QLinearGradient sky(0, 0, 0, kHorizon);
    sky.setColorAt(0.0, QColor(34, 98, 186));
    sky.setColorAt(0.55, QColor(92, 156, 222));
    sky.setColorAt(1.0, QColor(190, 222, 244));
    p.fillRect(QRectF(0, 0, kWidth, kHorizon + 1), sky);

    QRadialGradient sun(QPointF(690, 70), 190);
    sun.setColorAt(0.0, QColor(255, 252, 230, 235));
    sun.setColorAt(0.12, QColor(255, 248, 215, 160));
    sun.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.fillRect(QRectF(0, 0, kWidth, kHorizon), sun);
}

// A cloud is a heap of soft puffs; the random spread keeps clouds from looking stamped.
void drawCloud(QPainter& p, std::mt19937& random, QPointF centre, double width, double height) {
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const int puffs = 14;
    for (int i = 0; i < puffs; ++i) {
        const double x = centre.x() + (unit(random) - 0.5) * width;
        const double lift = 1.0 - std::abs(x - centre.x()) / (width * 0.6);
        const double y = centre.y() - unit(random) * height * std::max(0.2, lift);
        const double radius = height * (0.35 + 0.45 * unit(random)) * std::max(0.45, lift);
        QRadialGradient puff(QPointF(x, y), radius, QPointF(x - radius * 0.3, y - radius * 0.35));
        puff.setColorAt(0.0, QColor(255, 255, 255, 235));
        puff.setColorAt(0.6, QColor(246, 249, 253, 170));
        puff.setColorAt(1.0, QColor(225, 235, 248, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(puff);
        p.drawEllipse(QPointF(x, y), radius, radius * 0.8);
    }
}

void drawHills(QPainter& p, std::mt19937& random) {
    std::uniform_real_distribution<double> wobble(-1.0, 1.0);
    auto ridge = [&](double base, double amplitude, double period, QColor top, QColor bottom,
                     double phase) {
        QPainterPath path(QPointF(0, kHeight));
        for (int x = 0; x <= kWidth; x += 8) {
            const double y = base -
                             amplitude * (0.6 * std::sin(x / period + phase) +
                                          0.4 * std::sin(x / (period * 0.37) + phase * 2)) +
                             wobble(random) * 1.5;
            path.lineTo(x, y);
        }
        path.lineTo(kWidth, kHeight);
        path.closeSubpath();
        QLinearGradient fill(0, base - amplitude, 0, base + 60);
        fill.setColorAt(0.0, top);
        fill.setColorAt(1.0, bottom);
        p.setPen(Qt::NoPen);
        p.setBrush(fill);
        p.drawPath(path);
    };
    ridge(312, 26, 120, QColor(126, 160, 190), QColor(150, 182, 205), 0.4);
    ridge(335, 18, 85, QColor(96, 138, 120), QColor(112, 150, 118), 2.1);
    ridge(352, 10, 60, QColor(86, 128, 78), QColor(104, 146, 82), 4.0);
}

void drawValley(QPainter& p, std::mt19937& random) {
    QLinearGradient meadow(0, 350, 0, 500);
    meadow.setColorAt(0.0, QColor(108, 150, 84));
    meadow.setColorAt(1.0, QColor(72, 118, 58));
    p.fillRect(QRectF(0, 352, kWidth, kHeight - 352), meadow);

    // A row of trees along the far bank, dark below and sunlit on the top left.
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (int i = 0; i < 90; ++i) {
        const double x = unit(random) * kWidth;
        const double y = 356 + unit(random) * 14;
        const double r = 6 + unit(random) * 9;
        QRadialGradient crown(QPointF(x, y), r, QPointF(x - r * 0.4, y - r * 0.5));
        crown.setColorAt(0.0, QColor(92, 140, 70));
        crown.setColorAt(1.0, QColor(40, 78, 40));
        p.setPen(Qt::NoPen);
        p.setBrush(crown);
        p.drawEllipse(QPointF(x, y), r, r * 0.9);
    }

    // The river, with the sky's light broken into streaks.
    QPainterPath river(QPointF(0, 488));
    river.cubicTo(220, 470, 520, 500, kWidth, 478);
    river.lineTo(kWidth, kHeight);
    river.lineTo(0, kHeight);
    river.closeSubpath();
    QLinearGradient water(0, 470, 0, kHeight);
    water.setColorAt(0.0, QColor(120, 168, 206));
    water.setColorAt(1.0, QColor(46, 96, 146));
    p.setBrush(water);
    p.drawPath(river);
    p.save();
    p.setClipPath(river);
    for (int i = 0; i < 160; ++i) {
        const double y = 480 + unit(random) * 120;
        const double x = unit(random) * kWidth;
        const double length = 10 + unit(random) * 50;
        p.setPen(QPen(QColor(220, 236, 250, 40 + int(unit(random) * 70)), 1.2));
        p.drawLine(QPointF(x, y), QPointF(x + length, y));
    }
    p.restore();
}

void drawPier(QPainter& p, double centre) {
    const double topHalf = 22, bottomHalf = 30;
    QPolygonF pier;
    pier << QPointF(centre - topHalf, kDeckBase) << QPointF(centre + topHalf, kDeckBase)
         << QPointF(centre + bottomHalf, kHeight) << QPointF(centre - bottomHalf, kHeight);
    QLinearGradient stone(centre - bottomHalf, 0, centre + bottomHalf, 0);
    stone.setColorAt(0.0, QColor(212, 210, 202));
    stone.setColorAt(0.55, QColor(176, 174, 168));
    stone.setColorAt(1.0, QColor(118, 118, 116));
    p.setPen(Qt::NoPen);
    p.setBrush(stone);
    p.drawPolygon(pier);
    // The deck's shadow on the pier's head.
    QLinearGradient shade(0, kDeckBase, 0, kDeckBase + 26);
    shade.setColorAt(0.0, QColor(40, 40, 48, 150));
    shade.setColorAt(1.0, QColor(40, 40, 48, 0));
    p.setBrush(shade);
    p.drawPolygon(pier);
}

void drawDeck(QPainter& p) {
    QLinearGradient face(0, kDeckTop, 0, kDeckBase);
    face.setColorAt(0.0, QColor(226, 224, 218));
    face.setColorAt(0.7, QColor(196, 194, 188));
    face.setColorAt(1.0, QColor(150, 148, 144));
    p.fillRect(QRectF(0, kDeckTop, kWidth, kDeckBase - kDeckTop), face);
    p.fillRect(QRectF(0, kDeckBase, kWidth, 6), QColor(70, 70, 76));
    // The deck's shade on the meadow below.
    QLinearGradient shade(0, kDeckBase + 6, 0, kDeckBase + 30);
    shade.setColorAt(0.0, QColor(20, 40, 30, 120));
    shade.setColorAt(1.0, QColor(20, 40, 30, 0));
    p.fillRect(QRectF(0, kDeckBase + 6, kWidth, 24), shade);
    // Expansion joints between the deck's segments.
    p.setPen(QPen(QColor(150, 148, 142), 1));
    for (double x = 40; x < kWidth; x += 155)
        p.drawLine(QPointF(x, kDeckTop + 2), QPointF(x, kDeckBase - 1));
}

// The guard rail on the near edge stands in front of the lorry's wheels.
void drawGuardRail(QPainter& p) {
    for (double x = 6; x < kWidth; x += 34) {
        QLinearGradient post(x, 0, x + 5, 0);
        post.setColorAt(0.0, QColor(200, 204, 210));
        post.setColorAt(1.0, QColor(110, 114, 120));
        p.fillRect(QRectF(x, 378, 5, kDeckTop - 378), post);
    }
    for (double top : {380.0, 391.0}) {
        QLinearGradient rail(0, top, 0, top + 7);
        rail.setColorAt(0.0, QColor(236, 240, 244));
        rail.setColorAt(0.5, QColor(176, 182, 190));
        rail.setColorAt(1.0, QColor(112, 118, 126));
        p.fillRect(QRectF(0, top, kWidth, 7), rail);
    }
}

void drawLamp(QPainter& p, double x) {
    p.setPen(Qt::NoPen);
    QLinearGradient pole(x - 3, 0, x + 3, 0);
    pole.setColorAt(0.0, QColor(190, 194, 200));
    pole.setColorAt(1.0, QColor(96, 100, 108));
    p.setBrush(pole);
    p.drawRect(QRectF(x - 3, 200, 6, kDeckTop - 200));
    QPainterPath arm(QPointF(x, 204));
    arm.cubicTo(x + 4, 186, x + 22, 182, x + 40, 186);
    p.setPen(QPen(QColor(120, 124, 132), 4, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(arm);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(70, 74, 82));
    p.drawRoundedRect(QRectF(x + 30, 183, 26, 8), 3, 3);
}

void drawWheel(QPainter& p, QPointF centre, double radius) {
    QRadialGradient tyre(centre, radius);
    tyre.setColorAt(0.0, QColor(60, 60, 62));
    tyre.setColorAt(0.85, QColor(28, 28, 30));
    tyre.setColorAt(1.0, QColor(12, 12, 14));
    p.setPen(Qt::NoPen);
    p.setBrush(tyre);
    p.drawEllipse(centre, radius, radius);
    const double rim = radius * 0.56;
    QRadialGradient disc(centre, rim, centre - QPointF(rim * 0.3, rim * 0.3));
    disc.setColorAt(0.0, QColor(236, 238, 242));
    disc.setColorAt(1.0, QColor(140, 144, 150));
    p.setBrush(disc);
    p.drawEllipse(centre, rim, rim);
    p.setBrush(QColor(80, 82, 88));
    for (int i = 0; i < 6; ++i) {
        const double a = i * M_PI / 3;
        p.drawEllipse(centre + QPointF(std::cos(a), std::sin(a)) * rim * 0.6, radius * 0.06,
                      radius * 0.06);
    }
    p.setBrush(QColor(50, 52, 58));
    p.drawEllipse(centre, radius * 0.16, radius * 0.16);
}

// The lorry in side view, facing right, its tyres on `road`; `left` is the back of the box.
// Drawn at `scale` so that the icon can reuse it.
void drawLorry(QPainter& p, double left, double road, double scale, bool withLettering) {
    p.save();
    p.translate(left, road);
    p.scale(scale, scale);
    // From here on: x from the back of the box, y upwards is negative, 0 is the road.
    const QColor blue(32, 86, 190), darkBlue(18, 52, 128), lightBlue(70, 130, 222);
    const double wheel = 24;

    // Chassis and fuel tank.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 42, 48));
    p.drawRect(QRectF(4, -40, 400, 14));
    QLinearGradient tank(0, -42, 0, -14);
    tank.setColorAt(0.0, QColor(226, 230, 236));
    tank.setColorAt(1.0, QColor(120, 126, 136));
    p.setBrush(tank);
    p.drawRoundedRect(QRectF(196, -44, 70, 28), 6, 6);

    // The box.
    const QRectF box(0, -168, 300, 128);
    QLinearGradient body(0, box.top(), 0, box.bottom());
    body.setColorAt(0.0, lightBlue);
    body.setColorAt(0.18, blue);
    body.setColorAt(1.0, darkBlue);
    p.setBrush(body);
    p.setPen(QPen(QColor(14, 36, 92), 1.5));
    p.drawRoundedRect(box, 4, 4);
    p.setPen(QPen(QColor(20, 60, 150, 140), 1.2));
    for (double x = box.left() + 25; x < box.right() - 5; x += 25)
        p.drawLine(QPointF(x, box.top() + 8), QPointF(x, box.bottom() - 8));
    p.fillRect(QRectF(box.left(), box.top(), box.width(), 7), QColor(200, 210, 226));
    p.fillRect(QRectF(box.left(), box.bottom() - 9, box.width(), 9), QColor(26, 30, 40));
    p.fillRect(QRectF(box.left(), box.top() + 7, 5, box.height() - 16), QColor(150, 160, 180));
    if (withLettering) {
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setBold(true);
        font.setItalic(true);
        font.setPixelSize(40);
        p.setFont(font);
        p.setPen(QColor(255, 255, 255, 235));
        p.drawText(QRectF(box.left(), box.top() + 26, box.width(), 52), Qt::AlignCenter,
                   QStringLiteral("КАВЕЛОН"));
        font.setPixelSize(17);
        font.setItalic(false);
        font.setBold(false);
        p.setFont(font);
        p.setPen(QColor(255, 214, 80));
        p.drawText(QRectF(box.left(), box.top() + 76, box.width(), 26), Qt::AlignCenter,
                   QStringLiteral("грузоперевозки"));
    }

    // Air deflector between the cab roof and the top of the box.
    QPolygonF deflector;
    deflector << QPointF(306, -138) << QPointF(318, -162) << QPointF(352, -160)
              << QPointF(376, -138);
    QLinearGradient shell(0, -162, 0, -138);
    shell.setColorAt(0.0, lightBlue);
    shell.setColorAt(1.0, blue);
    p.setBrush(shell);
    p.setPen(QPen(QColor(14, 36, 92), 1.2));
    p.drawPolygon(deflector);

    // The cab.
    QPainterPath cab(QPointF(304, -30));
    cab.lineTo(304, -134);
    cab.quadTo(304, -140, 312, -140);
    cab.lineTo(380, -140);
    cab.quadTo(388, -140, 392, -132);
    cab.lineTo(410, -92);
    cab.lineTo(414, -34);
    cab.quadTo(414, -30, 408, -30);
    cab.closeSubpath();
    QLinearGradient paint(0, -140, 0, -30);
    paint.setColorAt(0.0, lightBlue);
    paint.setColorAt(0.25, blue);
    paint.setColorAt(1.0, darkBlue);
    p.setBrush(paint);
    p.setPen(QPen(QColor(14, 36, 92), 1.5));
    p.drawPath(cab);

    QPolygonF window;
    window << QPointF(318, -130) << QPointF(378, -130) << QPointF(398, -94) << QPointF(318, -94);
    QLinearGradient glass(318, -130, 398, -94);
    glass.setColorAt(0.0, QColor(196, 226, 250));
    glass.setColorAt(0.5, QColor(120, 170, 214));
    glass.setColorAt(1.0, QColor(70, 110, 160));
    p.setBrush(glass);
    p.setPen(QPen(QColor(20, 30, 50), 2));
    p.drawPolygon(window);
    p.setPen(QPen(QColor(255, 255, 255, 120), 5));
    p.drawLine(QPointF(336, -96), QPointF(356, -128));
    p.setPen(QPen(QColor(14, 36, 92), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(313, -134, 76, 98), 4, 4); // the door
    p.setBrush(QColor(210, 216, 226));
    p.drawRoundedRect(QRectF(372, -84, 12, 4), 2, 2); // its handle

    // Mirror, lamp, bumper and step.
    p.setPen(QPen(QColor(30, 32, 38), 2.5));
    p.drawLine(QPointF(398, -112), QPointF(420, -118));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 32, 38));
    p.drawRoundedRect(QRectF(416, -132, 7, 26), 2, 2);
    QRadialGradient lamp(QPointF(410, -52), 9);
    lamp.setColorAt(0.0, QColor(255, 255, 236));
    lamp.setColorAt(1.0, QColor(244, 200, 90));
    p.setBrush(lamp);
    p.drawRoundedRect(QRectF(404, -58, 11, 12), 3, 3);
    QLinearGradient bumper(0, -38, 0, -20);
    bumper.setColorAt(0.0, QColor(110, 114, 122));
    bumper.setColorAt(1.0, QColor(40, 42, 48));
    p.setBrush(bumper);
    p.drawRoundedRect(QRectF(352, -38, 68, 17), 3, 3);
    p.setBrush(QColor(44, 46, 52));
    p.drawRect(QRectF(318, -34, 30, 6));

    // Wheel arches are cut dark into the body before the wheels go in.
    p.setBrush(QColor(22, 22, 26));
    for (double x : {58.0, 112.0, 372.0})
        p.drawEllipse(QPointF(x, -wheel), wheel + 5, wheel + 5);
    for (double x : {58.0, 112.0, 372.0})
        drawWheel(p, QPointF(x, -wheel), wheel);
    p.restore();
}

void drawGull(QPainter& p, QPointF centre, double span, double tilt) {
    p.save();
    p.translate(centre);
    p.rotate(tilt);
    const double s = span / 2;
    QPainterPath wings(QPointF(-s, -s * 0.08));
    wings.quadTo(-s * 0.55, -s * 0.42, -s * 0.08, 0);
    wings.quadTo(0, s * 0.08, s * 0.08, 0);
    wings.quadTo(s * 0.55, -s * 0.42, s, -s * 0.08);
    wings.quadTo(s * 0.55, -s * 0.24, s * 0.08, s * 0.1);
    wings.quadTo(0, s * 0.18, -s * 0.08, s * 0.1);
    wings.quadTo(-s * 0.55, -s * 0.24, -s, -s * 0.08);
    p.setPen(QPen(QColor(96, 106, 120), std::max(0.8, span / 60)));
    p.setBrush(QColor(250, 251, 252));
    p.drawPath(wings);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 42, 48));
    p.drawEllipse(QPointF(-s * 0.92, -s * 0.1), s * 0.09, s * 0.05);
    p.drawEllipse(QPointF(s * 0.92, -s * 0.1), s * 0.09, s * 0.05);
    p.setBrush(QColor(255, 255, 255));
    p.drawEllipse(QPointF(0, s * 0.08), s * 0.1, s * 0.07);
    p.restore();
}

// Fine grain, as a camera gives; it also keeps large smooth areas from banding.
void addGrain(QImage& image, std::mt19937& random) {
    std::normal_distribution<double> grain(0.0, 3.2);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int n = int(std::lround(grain(random)));
            auto clamp = [](int v) { return std::clamp(v, 0, 255); };
            const QRgb c = line[x];
            line[x] = qRgb(clamp(qRed(c) + n), clamp(qGreen(c) + n), clamp(qBlue(c) + n));
        }
    }
}

} // namespace

QImage drawBackground() {
    std::mt19937 random(20260401);
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    drawSky(p);
    drawCloud(p, random, QPointF(150, 110), 230, 60);
    drawCloud(p, random, QPointF(470, 70), 180, 42);
    drawCloud(p, random, QPointF(640, 200), 260, 56);
    drawCloud(p, random, QPointF(330, 250), 150, 30);
    drawHills(p, random);
    drawValley(p, random);
    for (double x : {96.0, 412.0, 728.0})
        drawPier(p, x);
    drawLamp(p, 40);
    drawLamp(p, 640);
    drawLorry(p, 190, kRoad, 1.0, true);
    drawDeck(p);
    drawGuardRail(p);

    drawGull(p, QPointF(120, 200), 54, -8);
    drawGull(p, QPointF(205, 160), 38, 6);
    drawGull(p, QPointF(560, 128), 46, 10);
    drawGull(p, QPointF(610, 170), 30, -4);
    drawGull(p, QPointF(330, 60), 26, 3);
    drawGull(p, QPointF(740, 290), 36, -12);
    drawGull(p, QPointF(60, 320), 22, 5);
    p.end();

    addGrain(image, random);
    return image;
}

QImage drawIcon() {
    QImage image(256, 256, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    const QRectF tile(8, 8, 240, 240);
    QPainterPath rounded;
    rounded.addRoundedRect(tile, 44, 44);
    QLinearGradient sky(0, tile.top(), 0, tile.bottom());
    sky.setColorAt(0.0, QColor(52, 120, 206));
    sky.setColorAt(0.75, QColor(170, 212, 244));
    sky.setColorAt(0.76, QColor(150, 150, 156));
    sky.setColorAt(1.0, QColor(96, 98, 106));
    p.setPen(Qt::NoPen);
    p.setBrush(sky);
    p.drawPath(rounded);

    p.setClipPath(rounded);
    p.fillRect(QRectF(8, 214, 240, 5), QColor(250, 250, 250));
    drawGull(p, QPointF(72, 54), 46, -6);
    drawGull(p, QPointF(132, 38), 30, 8);
    drawLorry(p, 16, 190, 0.53, false);
    p.setClipping(false);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(14, 36, 92, 160), 3));
    p.drawPath(rounded);
    p.end();
    return image;
}

} // namespace kavelon::picture
