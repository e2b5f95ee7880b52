#include "report/PdfFile.h"

#include "data/Errors.h"
#include "report/PageRenderer.h"

#include <QFile>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

namespace kavelon::report {

QString pdfFileFilter() {
    return QStringLiteral("PDF files (*.pdf)");
}

void savePdfFile(const QString& fileName, const PageSet& pages, const QString& title) {
    const auto cannotWrite = [&] {
        return Error(QStringLiteral("Cannot write the file %1").arg(fileName));
    };
    // Written beside the file and moved over it only when complete, so a failed run leaves an
    // older file as it was.
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw cannotWrite();
    {
        QPdfWriter writer(&file);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Kavelon"));
        writer.setResolution(1200);
        const double width = pages.width / 100.0, height = pages.height / 100.0;
        const QPageSize size(QSizeF(std::min(width, height), std::max(width, height)),
                             QPageSize::Millimeter);
        writer.setPageLayout(
            QPageLayout(size, width > height ? QPageLayout::Landscape : QPageLayout::Portrait,
                        QMarginsF(0, 0, 0, 0)));
        QPainter painter;
        if (!painter.begin(&writer))
            throw cannotWrite();
        const double pixelsPerMillimetre = writer.resolution() / 25.4;
        for (std::size_t n = 0; n < pages.pages.size(); ++n) {
            if (n > 0)
                writer.newPage();
            drawPage(painter, pages, pages.pages[n], pixelsPerMillimetre);
        }
        painter.end();
    }
    if (!file.commit())
        throw cannotWrite();
}

} // namespace kavelon::report
