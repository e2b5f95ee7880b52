#pragma once
// TForm4, "Печать заказа": the holder of the orders report and its own journal cursor; never shown.

#include "data/TableCursor.h"
#include "report/Report.h"

#include <QWidget>
#include <memory>

class TForm4 : public QWidget {
    Q_OBJECT
public:
    TForm4();
    ~TForm4() override;

    // The orders report as designed: the title, eight column captions and one band of eight
    // column values, A4 portrait.
    static kavelon::report::ReportDefinition Report1Definition();

    const std::unique_ptr<kavelon::TableCursor> ADOTable1;
    kavelon::report::Report* const Report1;

    // Elements of Report1's definition (which never changes after creation).
    const kavelon::report::TextElement* ReportLabel1;
    const kavelon::report::TextElement* ReportLabel2;
    const kavelon::report::TextElement* ReportLabel3;
    const kavelon::report::TextElement* ReportLabel4;
    const kavelon::report::TextElement* ReportLabel5;
    const kavelon::report::TextElement* ReportLabel6;
    const kavelon::report::TextElement* ReportLabel7;
    const kavelon::report::TextElement* ReportLabel8;
    const kavelon::report::TextElement* ReportLabel9;
    const kavelon::report::DetailBand* ReportDetailBand1;
    const kavelon::report::TextElement* ReportDBText1;
    const kavelon::report::TextElement* ReportDBText2;
    const kavelon::report::TextElement* ReportDBText3;
    const kavelon::report::TextElement* ReportDBText4;
    const kavelon::report::TextElement* ReportDBText5;
    const kavelon::report::TextElement* ReportDBText6;
    const kavelon::report::TextElement* ReportDBText7;
    const kavelon::report::TextElement* ReportDBText8;
};

extern TForm4* Form4;
