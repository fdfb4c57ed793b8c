#pragma once
#include <string>

// The program's string table: every message and UI text with its id.
// Texts are returned as display bytes in Windows-1252, the character set
// the list views and message boxes work in.
std::string LoadString(int id);

// True when the table has a text for id.
bool HasString(int id);

// Frequently used ids.
constexpr int IDS_INTERNAL_ERROR = 62001;  // "Fehler 1: Interner Fehler, Datei %s, Zeile %d."
constexpr int IDS_NO_ERROR = 62002;        // "Meldung 2: Kein Fehler."
constexpr int IDS_CLIPBOARD_TOO_BIG = 62006;
constexpr int IDS_NO_PROJECT_NAME = 62011;
constexpr int IDS_INVALID_DATA = 62012;
constexpr int IDS_PROJECT_IN_INSTALL_DIR = 62013;
constexpr int IDS_FILE_ACCESS = 62042;     // "Fehler 42: Fehler bei Dateizugriff"
constexpr int IDS_OUT_OF_MEMORY = 62051;
constexpr int IDS_LINK_BUSY = 62061;
