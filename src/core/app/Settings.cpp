#include "app/Settings.h"

#include <langinfo.h>
#include <locale.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

#include "sysdata/PrinterControl.h"
#include "util/FileSystem.h"
#include "util/StringTable.h"
#include "util/Strings.h"

namespace {
constexpr const char* kConfiguration = "Configuration";
constexpr const char* kFont = "Font";
constexpr const char* kPx920 = "PX920 Settings";
constexpr const char* kReport = "ReportSettings";
constexpr const char* kPrint = "PrintSettings";
constexpr const char* kPrintFont = "PrintFont";
constexpr const char* kRecent = "Recent File List";
constexpr const char* kDefaultEditSequence = "WSCBV";
constexpr const char* kDefaultListSequence = "VSWCB";
constexpr int kRecentCount = 4;
constexpr int kFixedPitch = 1;

std::string HomeDirectory()
{
    const char* home = std::getenv("HOME");
    std::string dir = home && *home ? home : std::string();
    if (dir.empty()) {
        if (const passwd* pw = getpwuid(getuid())) dir = pw->pw_dir ? pw->pw_dir : "";
    }
    if (dir.empty()) dir = "/";
    return fsx::WithSlash(dir);
}

// "920" or "SYS": the extension becomes part of every new file name, so
// nothing else from the file is taken.
std::string ValidExtension(const std::string& value)
{
    std::string upper = ToUpper(value);
    return upper == "920" || upper == "SYS" ? upper : std::string("920");
}
}  // namespace

bool UserLocaleUsesUsMeasurement()
{
    // The user's environment, not the program's current locale (which is
    // "C" unless somebody called setlocale).
    locale_t loc = newlocale(LC_MEASUREMENT_MASK, "", static_cast<locale_t>(nullptr));
    if (loc == static_cast<locale_t>(nullptr)) return false;
    const char* m = nl_langinfo_l(_NL_MEASUREMENT_MEASUREMENT, loc);
    bool us = m && m[0] == 2;
    freelocale(loc);
    return us;
}

std::string CSettings::DefaultUnits() const
{
    bool us = usMeasurement ? usMeasurement() : UserLocaleUsesUsMeasurement();
    return us ? "INCHES" : "METRIC";
}

bool CSettings::IsValidSequence(const std::string& value, const std::string& def)
{
    if (value.size() != def.size()) return false;
    std::string upper = ToUpper(value);
    for (char c : def)
        if (upper.find(c) == std::string::npos) return false;
    return true;
}

void CSettings::Read(const std::string& iniPath)
{
    path = iniPath;
    ini.Load(iniPath);  // a missing file leaves every default

    comPort = ini.GetInt(kConfiguration, "ComPort", 1);
    lptPort = ini.GetInt(kConfiguration, "LptPort", 1);
    projectExtension = ValidExtension(ini.GetString(kConfiguration, "ProjectExtension", "920"));
    online = !IEquals(ini.GetString(kConfiguration, "Connect", "Online"), "Offline");
    oldFirmware = IEquals(ini.GetString(kConfiguration, "PX920 Firmware", ">=V3.6"), "<V3.6");
    cyrillic = IEquals(ini.GetString(kConfiguration, "Charset", "Standard"), "Cyrillic");

    fontStandard = ini.GetString(kFont, "Standard", LoadString(63004));
    fontCyrillic = ini.GetString(kFont, "Cyrillic", LoadString(63005));
    fontHeight = ini.GetInt(kFont, "Height", 15);

    maxDwNumber = static_cast<unsigned short>(ini.GetInt(kPx920, "MAX DW Number", 255));
    editSequence = ini.GetString(kPx920, "EditSequence", kDefaultEditSequence);
    editSequence = IsValidSequence(editSequence, kDefaultEditSequence) ? ToUpper(editSequence) : kDefaultEditSequence;
    listSequence = ini.GetString(kPx920, "ListSequence", kDefaultListSequence);
    listSequence = IsValidSequence(listSequence, kDefaultListSequence) ? ToUpper(listSequence) : kDefaultListSequence;

    helpFileName = ini.GetString("Help", "File Name", "PX920Win.htm");
    // There is no drive root to start from on Linux; the home directory
    // is where a user's projects are found first.
    lastProjectPath = ini.GetString("Project", "Last project path", HomeDirectory());

    autoSize = ini.GetInt(kReport, "AutoSize", 0) != 0;
    minRowCount = ini.GetInt(kReport, "MinRowCount", 5);
    if (minRowCount > 30) minRowCount = 5;
    maxRowCount = ini.GetInt(kReport, "MaxRowCount", 30);
    if (maxRowCount > 30) maxRowCount = 30;
    reportHeight = ini.GetInt(kReport, "Height", 20);
    if (reportHeight > 30) reportHeight = 30;

    leftMargin = ini.GetInt(kPrint, "LeftMargin", 1800);
    topMargin = ini.GetInt(kPrint, "TopMargin", 1440);
    rightMargin = ini.GetInt(kPrint, "RightMargin", 1800);
    bottomMargin = ini.GetInt(kPrint, "BottomMargin", 1440);
    pageWidth = ini.GetInt(kPrint, "PageWidth", 11900);
    pageHeight = ini.GetInt(kPrint, "PageHeight", 16832);
    metric = IEquals(ini.GetString(kPrint, "Units", DefaultUnits()), "METRIC");

    // The file holds points, the font description twips (negative: the
    // character height rather than the cell height).
    int points = ini.GetInt(kPrintFont, "Height", -8);
    printFontHeight = -20 * points;
    printFontWeight = 0;
    printFontItalic = 0;
    printFontUnderline = 0;
    printFontCharSet = 1;
    printFontFaceName = LoadString(63006);
    if (points != 0) {
        printFontWeight = ini.GetInt(kPrintFont, "Weight", 0);
        printFontItalic = ini.GetInt(kPrintFont, "Italic", 0);
        printFontUnderline = ini.GetInt(kPrintFont, "Underline", 0);
        printFontCharSet = ini.GetInt(kPrintFont, "CharSet", 1);
        ini.GetInt(kPrintFont, "PitchAndFamily", 0);  // read, but the printer font is always fixed pitch
        printFontFaceName = ini.GetString(kPrintFont, "FaceName", LoadString(63006));
        if (printFontFaceName.size() > 31) printFontFaceName.resize(31);
    }
    printFontPitchAndFamily = kFixedPitch;

    prommerType = ini.GetInt("Prommer", "PrommerType", 0);
    cardType = ini.GetInt("Prommer", "CardType", 0);

    recentFiles.clear();
    for (int i = 1; i <= kRecentCount; ++i) {
        std::string entry = ini.GetString(kRecent, "File" + std::to_string(i), "");
        if (!entry.empty()) recentFiles.push_back(entry);
    }
}

bool CSettings::WriteAtExit(bool nameChanged)
{
    if (path.empty()) return false;
    // Keys are written one by one into the file as it is now.
    CIniFile disk;
    if (disk.Load(path)) ini = disk;

    // The recent-file list is saved first, as the framework does on exit.
    ini.DeleteSection(kRecent);
    for (size_t i = 0; i < recentFiles.size() && i < static_cast<size_t>(kRecentCount); ++i)
        ini.SetString(kRecent, "File" + std::to_string(i + 1), recentFiles[i]);

    // 1-3
    ini.SetString(kFont, "Standard", fontStandard);
    ini.SetString(kFont, "Cyrillic", fontCyrillic);
    ini.SetInt(kFont, "Height", fontHeight);
    ini.SetInt(kConfiguration, "ComPort", comPort);
    ini.SetInt(kConfiguration, "LptPort", lptPort);
    ini.SetString(kConfiguration, "ProjectExtension", projectExtension);
    ini.SetString(kConfiguration, "Connect", online ? "Online" : "Offline");
    ini.SetString(kConfiguration, "PX920 Firmware", oldFirmware ? "<V3.6" : ">=V3.6");
    ini.SetString(kConfiguration, "Charset", cyrillic ? "Cyrillic" : "Standard");
    ini.SetInt(kPx920, "MAX DW Number", maxDwNumber);

    // 4. The two sequences are never changed by the program: only a missing
    // or invalid value is replaced by its default.
    if (!ini.HasKey(kPx920, "EditSequence") ||
        !IsValidSequence(ini.GetString(kPx920, "EditSequence", ""), kDefaultEditSequence))
        ini.SetString(kPx920, "EditSequence", kDefaultEditSequence);
    if (!ini.HasKey(kPx920, "ListSequence") ||
        !IsValidSequence(ini.GetString(kPx920, "ListSequence", ""), kDefaultListSequence))
        ini.SetString(kPx920, "ListSequence", kDefaultListSequence);

    // 5. An example printer preset holding the default control sequences.
    if (!ini.HasSection("Printer1")) {
        ini.SetString("Printer1", "Name", "Example");
        const PrinterControls& controls = DefaultPrinterControls();
        for (int i = 0; i < kPrinterControlCount; ++i)
            ini.SetString("Printer1", "String" + std::to_string(i + 1), FormatControlHex(controls[i]));
    }

    // 6. The recent entries end with project names that may now be stale.
    if (nameChanged) ini.DeleteSection(kRecent);

    // 7
    ini.SetString("Help", "File Name", helpFileName);
    ini.SetString("Project", "Last project path", lastProjectPath);
    ini.SetInt(kReport, "AutoSize", autoSize ? 1 : 0);
    ini.SetInt(kReport, "MinRowCount", minRowCount);
    ini.SetInt(kReport, "MaxRowCount", maxRowCount);
    ini.SetInt(kReport, "Height", reportHeight);
    ini.SetInt(kPrint, "LeftMargin", leftMargin);
    ini.SetInt(kPrint, "TopMargin", topMargin);
    ini.SetInt(kPrint, "RightMargin", rightMargin);
    ini.SetInt(kPrint, "BottomMargin", bottomMargin);
    ini.SetInt(kPrint, "PageWidth", pageWidth);
    ini.SetInt(kPrint, "PageHeight", pageHeight);
    ini.SetString(kPrint, "Units", metric ? "METRIC" : "INCHES");

    // 8
    ini.SetInt(kPrintFont, "Height", std::abs(printFontHeight) / 20);
    if (printFontHeight != 0) {
        ini.SetInt(kPrintFont, "Weight", printFontWeight);
        ini.SetInt(kPrintFont, "Italic", printFontItalic);
        ini.SetInt(kPrintFont, "Underline", printFontUnderline);
        ini.SetInt(kPrintFont, "PitchAndFamily", printFontPitchAndFamily);
        ini.SetInt(kPrintFont, "CharSet", printFontCharSet);
        ini.SetString(kPrintFont, "FaceName", printFontFaceName);
    }

    fsx::MakeDirectories(fsx::DirName(path));
    return ini.Save(path);
}

int CSettings::WriteLptPort(int n)
{
    lptPort = n;
    ini.SetInt(kConfiguration, "LptPort", n);
    if (!path.empty()) {
        CIniFile disk;
        disk.Load(path);
        disk.SetInt(kConfiguration, "LptPort", n);
        fsx::MakeDirectories(fsx::DirName(path));
        disk.Save(path);
    }
    return 0;
}

std::string CSettings::ComDevice(int n) const
{
    std::string dev = ini.GetString("Ports", "COM" + std::to_string(n), "");
    return dev.empty() ? "/dev/ttyS" + std::to_string(n - 1) : dev;
}

std::string CSettings::LptDevice(int n) const
{
    std::string dev = ini.GetString("Ports", "LPT" + std::to_string(n), "");
    return dev.empty() ? "/dev/lp" + std::to_string(n - 1) : dev;
}

void CSettings::AddRecentFile(const std::string& entry)
{
    if (entry.empty()) return;
    for (size_t i = 0; i < recentFiles.size(); ++i) {
        if (IEquals(recentFiles[i], entry)) {
            recentFiles.erase(recentFiles.begin() + static_cast<std::ptrdiff_t>(i));
            break;
        }
    }
    recentFiles.insert(recentFiles.begin(), entry);
    if (recentFiles.size() > static_cast<size_t>(kRecentCount)) recentFiles.resize(kRecentCount);
}

std::string DefaultSettingsPath(const std::string& exeDir)
{
    const char* env = std::getenv("PX920WIN_INI");
    if (env && *env) return env;
    const std::string name = "PX920Win.ini";
    if (!exeDir.empty()) {
        std::string dir = fsx::WithSlash(exeDir);
        if (access(dir.c_str(), W_OK) == 0 || fsx::IsRegularFile(dir + name)) return dir + name;
    }
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    std::string config = xdg && *xdg ? fsx::WithSlash(xdg) : HomeDirectory() + ".config/";
    return config + "px920win/" + name;
}

std::string RecentFileEntry(const std::string& directory, const std::string& projectName)
{
    std::string name = TrimRight(projectName);
    for (char& c : name)
        if (c == '\\' || c == '/') c = ' ';
    return directory + name;
}
