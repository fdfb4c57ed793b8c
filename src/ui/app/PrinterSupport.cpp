#include "app/PrinterSupport.h"

#include <QFontDialog>
#include <QPageLayout>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <cstdlib>
#include <memory>

#include "app/Application.h"
#include "app/Resources.h"
#include "util/ErrorInfo.h"

namespace prn {
namespace {
// a * b / c with the quotient rounded to the nearest whole number, halves away from zero.
long MulDivRound(long a, long b, long c)
{
    long long p = static_cast<long long>(a) * b;
    long long q = p / c, r = p % c;
    if (2 * std::llabs(r) >= std::llabs(static_cast<long long>(c))) q += ((p < 0) != (c < 0)) ? -1 : 1;
    return static_cast<long>(q);
}

int UnitsPerInch(bool metric) { return metric ? 2540 : 1000; }

void Report(int id)
{
    CErrorInfo err;
    err.Set(id);
    err.Report(App().Ui());
}
}  // namespace

QPrinter& Printer()
{
    static std::unique_ptr<QPrinter> printer;
    if (!printer) {
        QPrinterInfo def = QPrinterInfo::defaultPrinter();
        printer = def.isNull() ? std::make_unique<QPrinter>() : std::make_unique<QPrinter>(def);
    }
    return *printer;
}

bool CheckPrinter()
{
    QPrinterInfo def = QPrinterInfo::defaultPrinter();
    if (def.isNull()) {
        Report(62014);
        return false;
    }
    if (!Printer().isValid()) {
        Report(62015);
        return false;
    }
    return true;
}

int TwipsToDialogUnits(int twips, bool metric) { return static_cast<int>(MulDivRound(twips, UnitsPerInch(metric), 1440)); }

int DialogUnitsToTwips(int units, bool metric) { return static_cast<int>(MulDivRound(units, 1440, UnitsPerInch(metric))); }

int RoundToTen(int units)
{
    int r = units % 10;
    int base = units - r;
    if (r >= 5) return base + 10;
    if (r <= -5) return base - 10;
    return base;
}

void PrinterSetup(QWidget* parent)
{
    QPrintDialog dlg(&Printer(), parent);
    dlg.setOptions(QAbstractPrintDialog::PrintToFile);
    dlg.exec();
}

void PageSetup(QWidget* parent)
{
    if (!CheckPrinter()) return;
    CSettings& s = App().Settings();
    bool metric = s.metric;
    QPrinter& printer = Printer();
    // The dialog shows millimetres or inches; its values are rounded to
    // 10 of the stored units (hundredths of a millimetre, thousandths of an inch).
    QPageLayout::Unit unit = metric ? QPageLayout::Millimeter : QPageLayout::Inch;
    double scale = metric ? 100.0 : 1000.0;
    auto toDialog = [&](int twips) { return RoundToTen(TwipsToDialogUnits(twips, metric)) / scale; };
    QPageLayout layout = printer.pageLayout();
    layout.setUnits(unit);
    QMarginsF minimum = layout.minimumMargins();
    QMarginsF margins(std::max(toDialog(s.leftMargin), minimum.left()), std::max(toDialog(s.topMargin), minimum.top()),
                      std::max(toDialog(s.rightMargin), minimum.right()),
                      std::max(toDialog(s.bottomMargin), minimum.bottom()));
    layout.setMargins(margins);
    printer.setPageLayout(layout);

    QPageSetupDialog dlg(&printer, parent);
    if (dlg.exec() != QDialog::Accepted) return;
    QPageLayout chosen = printer.pageLayout();
    chosen.setUnits(unit);
    auto toTwips = [&](double value) {
        return DialogUnitsToTwips(RoundToTen(static_cast<int>(std::lround(value * scale))), metric);
    };
    QMarginsF m = chosen.margins();
    s.leftMargin = toTwips(m.left());
    s.topMargin = toTwips(m.top());
    s.rightMargin = toTwips(m.right());
    s.bottomMargin = toTwips(m.bottom());
    QSizeF paper = chosen.fullRect(unit).size();
    s.pageWidth = toTwips(paper.width());
    s.pageHeight = toTwips(paper.height());
}

void PrinterFontDialog(QWidget* parent)
{
    if (!CheckPrinter()) return;
    CSettings& s = App().Settings();
    bool ok = false;
    QFont chosen = QFontDialog::getFont(&ok, res::PrinterFont(), parent, QString(), QFontDialog::MonospacedFonts);
    if (!ok) return;
    s.printFontFaceName = chosen.family().toStdString().substr(0, 31);
    int points = chosen.pointSize() > 0 ? chosen.pointSize() : static_cast<int>(chosen.pointSizeF());
    s.printFontHeight = points * 20;
    s.printFontWeight = chosen.bold() ? 700 : 400;
    s.printFontItalic = chosen.italic() ? 1 : 0;
    s.printFontUnderline = chosen.underline() ? 1 : 0;
    s.printFontPitchAndFamily = 1;
}

}  // namespace prn
