#pragma once
// Made pages as a PDF file of their own: the same renderer as the screen and the printer, with
// the fonts embedded as fonts, so that the text of the file can be searched and copied.

#include "report/Pages.h"

#include <QString>

namespace kavelon::report {

QString pdfFileFilter();

// Writes every page at its size, positions from the sheet's edge; throws Error when the file
// cannot be written.
void savePdfFile(const QString& fileName, const PageSet& pages, const QString& title);

} // namespace kavelon::report
