#pragma once
#include <string>
#include <vector>

#include "app/IniFile.h"

// Every user setting of the program, read from and written to PX920Win.ini
// with the defaults, clamping and validation rules of the settings file.
class CSettings {
public:
    // Configuration
    int comPort = 1;
    int lptPort = 1;
    std::string projectExtension = "920";
    bool online = true;          // Connect
    bool oldFirmware = false;    // PX920 Firmware "<V3.6"
    bool cyrillic = false;       // Charset
    // Font
    std::string fontStandard = "Courier New";
    std::string fontCyrillic = "Courier New Cyr";
    int fontHeight = 15;
    // PX920 Settings
    unsigned short maxDwNumber = 255;
    std::string editSequence = "WSCBV";
    std::string listSequence = "VSWCB";
    // Help, Project
    std::string helpFileName = "PX920Win.htm";
    std::string lastProjectPath;
    // ReportSettings
    bool autoSize = false;
    int minRowCount = 5;
    int maxRowCount = 30;
    int reportHeight = 20;
    // PrintSettings (twips)
    int leftMargin = 1800, topMargin = 1440, rightMargin = 1800, bottomMargin = 1440;
    int pageWidth = 11900, pageHeight = 16832;
    bool metric = true;
    // PrintFont: height in twips (negative: -20 * points), 0 for the default font
    int printFontHeight = 160;
    int printFontWeight = 0, printFontItalic = 0, printFontUnderline = 0, printFontCharSet = 1;
    int printFontPitchAndFamily = 1;  // always fixed pitch
    std::string printFontFaceName = "Courier New";
    // Prommer
    int prommerType = 0, cardType = 0;
    // Recent File List (File1 .. File4), most recent first
    std::vector<std::string> recentFiles;

    // The raw file, for the sections read on demand (Printer1..10, Ports).
    CIniFile ini;
    std::string path;

    // Reads the file at path (missing file: all defaults).
    void Read(const std::string& iniPath);
    // The exit writing order; nameChanged drops the recent-file section.
    // The file is read again first so that keys written meanwhile by hand or
    // by another instance survive; the directory is created when missing.
    bool WriteAtExit(bool nameChanged);

    // The programmer's LPT port: kept in Configuration/LptPort and written
    // to the file at once. Returns 0 (there is no driver registry to refuse it).
    int ReadLptPort() const { return lptPort; }
    int WriteLptPort(int n);

    // Where the user's locale says the U.S. measurement system is used;
    // replaceable so that tests do not depend on the installed locales.
    bool (*usMeasurement)() = nullptr;
    // "INCHES" under the U.S. measurement system, otherwise "METRIC".
    std::string DefaultUnits() const;

    // The device path of "COMn" / "LPTn": [Ports] COMn= or /dev/ttyS<n-1>, /dev/lp<n-1>.
    std::string ComDevice(int n) const;
    std::string LptDevice(int n) const;

    // Adds a recent-file entry (most recent first, at most four, no duplicates ignoring case).
    void AddRecentFile(const std::string& entry);

    // Validation of EditSequence and ListSequence: same length as the default
    // and every letter of the default after upper-casing.
    static bool IsValidSequence(const std::string& value, const std::string& def);
};

// LC_MEASUREMENT of the user's environment is the U.S. system (glibc value 2).
bool UserLocaleUsesUsMeasurement();

// Where the settings file lives: PX920WIN_INI, else beside the executable
// when that directory is writable or the file exists there, else
// $XDG_CONFIG_HOME/px920win/PX920Win.ini.
std::string DefaultSettingsPath(const std::string& exeDir);

// The recent-file entry of a project: directory + project name with trailing
// blanks removed and every '\\' and '/' of the name replaced by a blank.
std::string RecentFileEntry(const std::string& directory, const std::string& projectName);
