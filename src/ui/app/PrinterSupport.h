#pragma once

class QPrinter;
class QWidget;

// The application's printer and the three printer commands of the project
// window: printer setup, page setup and the printer font.
namespace prn {

QPrinter& Printer();

// Whether a default printer exists and can be addressed; reports 62014 or
// 62015 and answers false otherwise.
bool CheckPrinter();

void PrinterSetup(QWidget* parent);
void PageSetup(QWidget* parent);
void PrinterFontDialog(QWidget* parent);

// Twips to the page-setup dialog's units (hundredths of millimetres when
// metric, else thousandths of inches) and back; each multiplies and divides
// rounding halves away from zero.
int TwipsToDialogUnits(int twips, bool metric);
int DialogUnitsToTwips(int units, bool metric);
// The dialog works in steps of 10 units: a remainder of 5 or more rounds away from zero.
int RoundToTen(int units);

}  // namespace prn
