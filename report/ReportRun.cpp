#include "report/ReportRun.h"

#include "data/Errors.h"
#include "data/FieldText.h"
#include "data/TableCursor.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace kavelon::report {

double screenDotsPerInch() {
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        return screen->logicalDotsPerInchY();
    return 96.0;
}

TextMeasure::TextMeasure(double dotsPerInch) : dpi_(dotsPerInch > 0 ? dotsPerInch : 96.0) {}

QFont TextMeasure::qfont(const FontSpec& font, double pixelsPerPoint) {
    QFont f(font.family);
    f.setPixelSize(std::max(1, static_cast<int>(std::lround(font.pointSize * pixelsPerPoint))));
    f.setBold(font.bold);
    return f;
}

Length TextMeasure::width(const FontSpec& font, const QString& text) {
    auto it =
        std::find_if(cache_.begin(), cache_.end(), [&](const Entry& e) { return e.spec == font; });
    if (it == cache_.end()) {
        cache_.push_back({font, QFontMetrics(qfont(font, dpi_ / 72.0))});
        it = cache_.end() - 1;
    }
    const int pixels = it->metrics.horizontalAdvance(text) + 1;
    return static_cast<Length>(std::lround(pixels * 2540.0 / dpi_));
}

ReportRun::ReportRun(const ReportDefinition& definition, Orientation orientation,
                     TableCursor* cursor, double measureDpi)
    : definition_(definition), orientation_(orientation), cursor_(cursor), measure_(measureDpi) {
    const bool landscape = orientation_ == Orientation::Landscape;
    pages_.width = landscape ? definition_.paperHeight : definition_.paperWidth;
    pages_.height = landscape ? definition_.paperWidth : definition_.paperHeight;
    pages_.layoutDpi = measure_.dotsPerInch();
    for (const TextElement& e : definition_.detail.values) {
        int field = -1;
        if (cursor_ && cursor_->Active())
            if (Field* f = cursor_->FindField(e.column))
                field = f->index();
        bound_.push_back({&e, field});
    }
}

int ReportRun::bottomLimitTenths() const {
    return (pages_.height - definition_.bottomMargin) / 10;
}

bool ReportRun::run() {
    pages_.pages.clear();
    pageStarted_ = false;
    int rows = 0;
    if (cursor_ && cursor_->Active()) {
        cursor_->First();
        rows = cursor_->rowCount();
    }
    if (rows == 0) {
        if (definition_.detail.printIfEmpty)
            printBand(-1);
    } else {
        for (int row = 0; row < rows; ++row) {
            const Stop stop = beforeRow ? beforeRow(row, rows) : Stop::No;
            if (stop == Stop::DropPage)
                return false;
            if (stop == Stop::EndPage) {
                if (pageStarted_)
                    endPage();
                return false;
            }
            printBand(row);
        }
    }
    if (pageStarted_)
        endPage();
    return true;
}

void ReportRun::startPage() {
    pages_.pages.emplace_back();
    pages_.pages.back().items.reserve(9 * 25 + 9);
    pageStarted_ = true;
    positionTenths_ = definition_.topMargin / 10;
}

void ReportRun::endPage() {
    Page& page = pages_.pages.back();
    for (const TextElement& e : definition_.pageElements)
        addText(page, e, e.left, e.top, e.text);
    pageStarted_ = false;
    if (pageMade)
        pageMade(static_cast<int>(pages_.pages.size()));
}

void ReportRun::printBand(int row) {
    const int bandTenths = (definition_.detail.height + 5) / 10; // 10.58 mm takes 106 tenths
    if (!pageStarted_ || bottomLimitTenths() - positionTenths_ < bandTenths) {
        if (pageStarted_)
            endPage();
        startPage();
    }
    Page& page = pages_.pages.back();
    const Length top = positionTenths_ * 10;
    PageItem band;
    band.kind = PageItem::Fill;
    band.x = definition_.leftMargin;
    band.y = top;
    band.width = definition_.detail.width;
    band.height = definition_.detail.height;
    page.items.push_back(std::move(band));
    for (const BoundValue& b : bound_) {
        const QString text = row < 0 || b.field < 0 ? QString() : valueText(row, b.field);
        addText(page, *b.element, definition_.leftMargin + b.element->left, top + b.element->top,
                text);
    }
    positionTenths_ += bandTenths;
}

QString ReportRun::valueText(int row, int field) const {
    try {
        return fieldtext::display(cursor_->valueAt(row, field), cursor_->Fields(field).kind());
    } catch (const Error&) {
        return {}; // a value that cannot be read prints as nothing
    }
}

std::uint16_t ReportRun::fontIndex(const FontSpec& font) {
    auto& fonts = pages_.fonts;
    for (std::size_t i = 0; i < fonts.size(); ++i)
        if (fonts[i] == font)
            return static_cast<std::uint16_t>(i);
    fonts.push_back(font);
    return static_cast<std::uint16_t>(fonts.size() - 1);
}

void ReportRun::addText(Page& page, const TextElement& element, Length left, Length top,
                        const QString& text) {
    const Length width = measure_.width(element.font, text);
    if (element.alignment == Alignment::Centre)
        left += (element.width - width) / 2; // the centre stays where it was designed
    PageItem item;
    item.x = left;
    item.y = top;
    item.width = width;
    item.height = element.height;
    item.kind = PageItem::Text;
    item.alignment = element.alignment;
    item.font = fontIndex(element.font);
    item.text = text;
    page.items.push_back(std::move(item));
}

std::size_t PageSet::memoryUsage() const {
    std::size_t bytes = sizeof(*this) + pages.capacity() * sizeof(Page);
    for (const Page& p : pages) {
        bytes += p.items.capacity() * sizeof(PageItem);
        for (const PageItem& i : p.items)
            if (!i.text.isEmpty())
                bytes += static_cast<std::size_t>(i.text.capacity()) * sizeof(QChar) + 16;
    }
    return bytes;
}

} // namespace kavelon::report
