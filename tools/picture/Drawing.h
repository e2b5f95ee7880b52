#pragma once
// The program's own pictures: the main window's background (a blue box lorry on a motorway
// bridge under a sky with gulls) and the icon. Drawn, not photographed, so they can be redrawn.

#include <QImage>

namespace kavelon::picture {

// 800 × 600, opaque; a fixed seed makes every run give the same picture.
QImage drawBackground();

// 256 × 256 with transparency around a rounded tile.
QImage drawIcon();

} // namespace kavelon::picture
