#pragma once
// The preview's sheet: one page at a zoom, on white with a one-pixel black outline and a
// two-pixel black shadow along the right and bottom edges.

#include "report/Pages.h"

#include <QIcon>
#include <QWidget>

namespace kavelon::report {

class PageView : public QWidget {
    Q_OBJECT
public:
    explicit PageView(QWidget* parent = nullptr);
    // page: 0-based index into pages; nothing is drawn without pages.
    void show(const PageSet* pages, int page, int zoomPercent);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QSize sheetSize() const;
    const PageSet* pages_ = nullptr;
    int page_ = 0;
    int zoom_ = 100;
};

// The toolbar's pictures, drawn here so that they do not depend on an icon theme.
enum class PreviewIcon {
    ZoomFit,
    Zoom100,
    ZoomWidth,
    First,
    Previous,
    Next,
    Last,
    Setup,
    Print,
    Save,
    Load,
    Pdf
};
QIcon previewIcon(PreviewIcon which);

} // namespace kavelon::report
