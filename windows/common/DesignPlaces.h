#pragma once
// Places and sizes in a window's design, in pixels, written with each number named:
// {.left = 136, .top = 248, .width = 75, .height = 25}. Each turns into its Qt counterpart where
// a widget is placed.

#include <QPoint>
#include <QRect>
#include <QSize>

struct DesignSize {
    int width = 0;
    int height = 0;
    operator QSize() const { return {width, height}; }
};

struct DesignPoint {
    int left = 0;
    int top = 0;
    operator QPoint() const { return {left, top}; }
};

// All zero: no place given.
struct DesignRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    operator QRect() const { return {left, top, width, height}; }
};
