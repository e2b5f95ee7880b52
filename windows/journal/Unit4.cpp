#include "windows/journal/Unit4.h"

#include "app/FormSetup.h"
#include "app/Opening.h"
#include "windows/shell/Unit1.h"

#include <QPalette>

using namespace kavelon;
using namespace kavelon::report;

TForm4* Form4 = nullptr;

ReportDefinition TForm4::Report1Definition() {
    const QColor windowText = QPalette().color(QPalette::WindowText);
    const FontSpec title{QStringLiteral("Cambria"), 20, false, QColor(0, 0, 128)};
    const FontSpec caption{QStringLiteral("Georgia"), 9, true, windowText};

    ReportDefinition d; // A4 portrait; margins 20, 10, 10, 10 mm
    d.defaultFont = {QStringLiteral("Arial"), 10, false, windowText};
    // name, text, column, left, top, height, width (hundredths of a mm), font, alignment
    d.pageElements = {
        {QStringLiteral("ReportLabel1"),
         QStringLiteral("Печать заказов"),
         {},
         8281,
         0,
         900,
         4921,
         title,
         Alignment::Centre},
        {QStringLiteral("ReportLabel2"),
         QStringLiteral("ID"),
         {},
         1058,
         1482,
         450,
         423,
         caption,
         Alignment::Left},
        {QStringLiteral("ReportLabel3"),
         QStringLiteral("Отправка"),
         {},
         2117,
         1482,
         450,
         1773,
         caption,
         Alignment::Left},
        {QStringLiteral("ReportLabel4"),
         QStringLiteral("Насел. пункт"),
         {},
         4233,
         1482,
         450,
         2381,
         caption,
         Alignment::Left},
        {QStringLiteral("ReportLabel5"),
         QStringLiteral("Клиент"),
         {},
         7197,
         1482,
         450,
         1376,
         caption,
         Alignment::Left},
        {QStringLiteral("ReportLabel6"),
         QStringLiteral("Водитель"),
         {},
         10160,
         1482,
         450,
         1720,
         caption,
         Alignment::Left},
        {QStringLiteral("ReportLabel7"),
         QStringLiteral("Транспортное ср-во"),
         {},
         12700,
         1482,
         450,
         3492,
         caption,
         Alignment::Left},
        {QStringLiteral("ReportLabel8"),
         QStringLiteral("Вес груза"),
         {},
         16510,
         1482,
         450,
         1693,
         caption,
         Alignment::Left},
        {QStringLiteral("ReportLabel9"),
         QStringLiteral("Итого"),
         {},
         18627,
         1482,
         450,
         1058,
         caption,
         Alignment::Left},
    };
    d.detail.name = QStringLiteral("ReportDetailBand1");
    d.detail.height = 1058;
    d.detail.width = 18997;
    d.detail.printIfEmpty = true;
    const auto value = [&](const char* name, const char* column, Length left) {
        return TextElement{QString::fromUtf8(name),
                           {},
                           QString::fromUtf8(column),
                           left,
                           635,
                           450,
                           0,
                           d.defaultFont,
                           Alignment::Left};
    };
    d.detail.values = {
        value("ReportDBText1", "ID", 0),
        value("ReportDBText2", "Отправка", 1058),
        value("ReportDBText3", "Населённый пункт", 3175),
        value("ReportDBText4", "Клиент", 5927),
        value("ReportDBText5", "Водитель", 9102),
        value("ReportDBText6", "Транспортное средство", 12277),
        value("ReportDBText7", "Вес груза", 15452),
        value("ReportDBText8", "Сумма", 17568),
    };
    return d;
}

TForm4::TForm4()
    : ADOTable1(tableCursor(QStringLiteral("ADOTable1"), Form1->ADOConnection1.get(),
                            schema::journalTable)),
      Report1(new Report(QStringLiteral("Report1"), Report1Definition(), this)) {
    setUpForm(this, QStringLiteral("Form4"), QStringLiteral("Печать заказа"), {400, 300});
    Report1->setDataSet(ADOTable1.get());
    const ReportDefinition& d = Report1->definition();
    const auto label = [&](int n) { return &d.pageElements[n]; };
    ReportLabel1 = label(0), ReportLabel2 = label(1), ReportLabel3 = label(2),
    ReportLabel4 = label(3);
    ReportLabel5 = label(4), ReportLabel6 = label(5), ReportLabel7 = label(6),
    ReportLabel8 = label(7);
    ReportLabel9 = label(8);
    ReportDetailBand1 = &d.detail;
    const auto text = [&](int n) { return &d.detail.values[n]; };
    ReportDBText1 = text(0), ReportDBText2 = text(1), ReportDBText3 = text(2),
    ReportDBText4 = text(3);
    ReportDBText5 = text(4), ReportDBText6 = text(5), ReportDBText7 = text(6),
    ReportDBText8 = text(7);
    openAtStart(*ADOTable1);
}

TForm4::~TForm4() = default;
