#include "WorkbookSamples.h"

#include <iterator>

namespace {

using workbook::Cell;
using workbook::CellKind;

Cell Text(std::u16string text) { return {CellKind::Text, 0, std::move(text)}; }
Cell Number(double value) { return {CellKind::Number, value, {}}; }
Cell Money(double value) { return {CellKind::Money, value, {}}; }
Cell Date(double automationDate) { return {CellKind::Date, automationDate, {}}; }
Cell None() { return {}; }

}  // namespace

workbook::Sheet NineColumnSample() {
    const Cell rows[][9] = {
        {Text(u"Date"), Text(u"Mileage (km)"), Text(u"Price (\u20AC)"), Text(u"Fill-up (l)"),
         Text(u"Partial Fill-up/Missing Fill-up/Recurring Cost"), Text(u"Note"), Text(u"Category"),
         Text(u"Recurring Cost End Date"), Text(u"Recurring Cost Interval (months)")},
        {Date(44012), Number(12345.6), Money(-19.99), Number(45.123), Text(u"p"),
         Text(u"He said \"full\"; then, left\nnext line"), Text(u"Fuel"), None(), None()},
        {Date(47848), None(), Money(45.5), None(), Text(u"r"), Text(u"Gr\u00FC\u00DFe aus K\u00F6ln, 12 \u20AC"),
         Text(u"Insurance, car; yearly"), Date(25569), Number(12)},
        {Date(36526), Number(100000), Money(1234.56), Number(40.5), Text(u""), Text(u"'2005"),
         Text(u"\u00C9t\u00E9 \u00E0 l'\u00EEle"), None(), None()},
        {Date(40000), Number(0.1), Money(0), Number(0.001), Text(u"m"), Text(u"tab\there \"\"\n\nend"),
         Text(u"\u20AC"), None(), None()},
    };
    workbook::Sheet sheet;
    for (int row = 0; row < static_cast<int>(std::size(rows)); ++row)
        for (int column = 0; column < 9; ++column) sheet.SetCell(row, column, rows[row][column]);
    return sheet;
}

workbook::Sheet SharedStringsSample() {
    workbook::Sheet sheet;
    for (int row = 0; row < 6000; ++row) {
        std::u16string text = row % 500 == 7 ? std::u16string(5000 + row, u'\u20AC')
                                             : u"string " + std::u16string(row % 40, u'x') + u"\u00E9" +
                                                   char16_t(u'0' + row % 10) + char16_t(u'A' + row % 26);
        sheet.SetCell(row, 0, Text(text + char16_t(u'a' + row / 1000)));
    }
    return sheet;
}
