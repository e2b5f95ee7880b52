#pragma once
// The one renderer of made pages: draws a page's display list onto any QPainter (the preview's
// screen, a printer, a PDF file) at a given number of device pixels per millimetre.

#include "report/Pages.h"

#include <QPointF>

class QPainter;

namespace kavelon::report {

// Draws the page with its top-left corner at origin (device pixels). Texts are single lines,
// never clipped or wrapped.
void drawPage(QPainter& painter, const PageSet& pages, const Page& page, double pixelsPerMillimetre,
              QPointF origin = {});

} // namespace kavelon::report
