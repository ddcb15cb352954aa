#pragma once

#include <QFont>
#include <string>
#include <vector>

#include "PrintLayout.h"

class QPrinter;

namespace ordwell {

// The font a macro is printed in: the list's font, at as many points as it
// is pixels high on the screen (a list font 11 pixels high prints at 11
// points); family, weight and style stay.
QFont PrinterFont(const QFont& listFont);

// The printer's printable area and the font's measures on it, in
// thousandths of an inch.
PrintGeometry PrinterGeometry(QPrinter& printer, const QFont& font);

// Prints the macro on the printer (paper, a PDF file or a preview): the
// pages of LayOutPrintedMacro, those of the printer's page range when it has
// one. False when the printer could not be started.
bool PrintMacro(QPrinter& printer, const std::vector<std::string>& lines, const std::string& title,
                const QFont& listFont, bool lineNumbers);

} // namespace ordwell
