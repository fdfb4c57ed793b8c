#include "app/Resources.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <cstdlib>
#include <vector>

#include "app/Application.h"

// Resources of a static library must be registered explicitly, and the
// macro only works outside a namespace.
static void InitQrc() { Q_INIT_RESOURCE(px920win); }

namespace res {
namespace {
struct Store {
    std::vector<QPixmap> icons;
    QFont standard;
    QFont cyrillic;
    bool ready = false;
};
Store& S()
{
    static Store s;
    return s;
}

// A display font as the settings describe it: face name and pixel height.
// When the face does not exist, the system's default face of the same height
// is used, as a font created without a face name would be.
QFont MakeDisplayFont(const std::string& face, int height)
{
    QFont f(QString::fromStdString(face));
    f.setPixelSize(height > 0 ? height : 15);
    f.setStyleHint(QFont::TypeWriter);
    f.setFixedPitch(true);
    return f;
}
}  // namespace

void Init()
{
    InitQrc();
    Store& s = S();
    s.icons.clear();
    for (int i = 0; i < kNodeIconCount; ++i) {
        QPixmap pm(QStringLiteral(":/icons/node%1.xpm").arg(i, 2, 10, QLatin1Char('0')));
        s.icons.push_back(pm);
    }
    const CSettings& st = App().Settings();
    s.standard = MakeDisplayFont(st.fontStandard, st.fontHeight);
    s.cyrillic = MakeDisplayFont(st.fontCyrillic, st.fontHeight);
    s.ready = true;
}

QPixmap NodeIcon(int index)
{
    if (!S().ready) Init();
    if (index < 0 || index >= static_cast<int>(S().icons.size())) return {};
    return S().icons[index];
}

QIcon ToolbarIcon(const char* name)
{
    if (!S().ready) Init();
    return QIcon(QStringLiteral(":/icons/tb_%1.xpm").arg(QLatin1String(name)));
}

QIcon ProgramIcon()
{
    QIcon icon;
    QPixmap pm = NodeIcon(0);
    icon.addPixmap(pm);
    icon.addPixmap(pm.scaled(32, 32));
    icon.addPixmap(pm.scaled(48, 48));
    return icon;
}

const QFont& StandardFont()
{
    if (!S().ready) Init();
    return S().standard;
}

const QFont& CyrillicFont()
{
    if (!S().ready) Init();
    return S().cyrillic;
}

const QFont& ListFont() { return App().IsCyrillic() ? CyrillicFont() : StandardFont(); }

QFont PrinterFont()
{
    const CSettings& st = App().Settings();
    if (st.printFontHeight == 0) {
        QFont f = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        return f;
    }
    QFont f(QString::fromStdString(st.printFontFaceName));
    f.setStyleHint(QFont::TypeWriter);
    f.setFixedPitch(true);
    f.setPointSizeF(std::abs(st.printFontHeight) / 20.0);
    f.setItalic(st.printFontItalic != 0);
    f.setUnderline(st.printFontUnderline != 0);
    if (st.printFontWeight >= 600) f.setBold(true);
    return f;
}

}  // namespace res
