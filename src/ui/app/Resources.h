#pragma once
#include <QFont>
#include <QIcon>
#include <QPixmap>

// The shared display resources of the program: the 20 node icons (indices 0
// to 19), the toolbar pictures, the standard and the Cyrillic display font
// and the printer font, all built from the settings at start-up.
namespace res {

constexpr int kNodeIconCount = 20;

// Loads icons and creates the fonts from App().Settings(). Call again after
// the font settings changed.
void Init();

// The node icon of an index; an index outside 0..19 gives an empty pixmap.
QPixmap NodeIcon(int index);
QIcon ToolbarIcon(const char* name);
QIcon ProgramIcon();

const QFont& StandardFont();
const QFont& CyrillicFont();
// The font of a list view created now: Cyrillic when the Charset setting says so.
const QFont& ListFont();
// The printer font as the settings describe it (fixed pitch, size in points).
QFont PrinterFont();

}  // namespace res
