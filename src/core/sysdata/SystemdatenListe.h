#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/Node.h"
#include "sysdata/PrinterControl.h"

class CByteReader;
class CByteWriter;

// The system data list (file SDAT): the project-wide settings of the module.
// It has no children; its values live in the members and stay in memory
// when the list is unloaded, so a dialog can show them even when the file
// cannot be read.
class CSystemdatenListe : public CFileList {
public:
    // Probes the file: valid only when its header carries type code 1.
    CSystemdatenListe(CNode* parent, const std::string& fileName);

    int GetType() const override { return NT_SYSDATA; }
    bool Load() override;
    bool Save() override;
    int Compare(const CNode& other) const override;
    bool HasOwnPrintLayout() const override { return true; }
    int GetPrintLineCount() const override { return 27; }
    std::string GetPrintLine(int line) const override;
    int GetColumnCount() const override { return 0; }
    int GetColumnWidth(int column) const override { return 0; }
    std::string GetColumnHeaders() const override { return {}; }

    // The values of a new list (project name empty). Marks the list loaded
    // and modified: it exists in memory and still has to be saved.
    void SetDefaults();

    // The eight colours of the "Farbe" (colour) or "S/W" (monochrome) preset.
    static std::array<uint16_t, 8> ColourPreset(bool colour);
    // Colour word: red bits 0-3, green 4-7, blue 8-11, in tenths.
    static uint16_t MakeColour(int redTenths, int greenTenths, int blueTenths);

    // Length of the printer block (its length word included) and of the whole file.
    size_t PrinterBlockLength() const;
    size_t TotalLength() const;

    // The file image; raises the generic file error when it cannot be
    // written (project name above 80 characters, more than 65535 bytes).
    void WriteTo(CByteWriter& out) const;
    // Reads a file image into the members; returns the header's length.
    // Raises the generic file error on any violation; the members are then
    // partly overwritten, so callers read into a copy.
    uint16_t ReadFrom(CByteReader& in);

    // Values, in file order.
    std::string m_projectName;        // blank-filled to 32 by its editors
    uint8_t m_pictureFormat = 1;      // 1: 256 * 512, 2: 512 * 512
    uint16_t m_dprLength = 256;       // 32, 64, 128 or 256
    std::array<uint16_t, 8> m_colours {};
    uint8_t m_blinkColour8 = 0;
    uint8_t m_transferDb = 20;
    uint16_t m_transferDw = 20;
    char m_language = 'D';            // D, E, F, K
    // Printer interface
    uint8_t m_baudIndex = 7;          // 110 .. 9600
    uint8_t m_parityIndex = 0;        // keine, ungerade, gerade
    uint8_t m_stopBitsIndex = 0;      // 1, 1.5, 2
    uint8_t m_coupling = 0;           // 0 V24, 1 TTY
    uint8_t m_dataBitsIndex = 0;      // 0: 8, 1: 7
    uint8_t m_handshakeIndex = 0;     // Hardware, XON/XOFF, ETX, XON/XOFF + ETX
    uint8_t m_linesPerPage = 72;
    uint8_t m_charsPerLine = 80;
    PrinterControls m_controls;
    // Firmware V4.0 blocks
    int m_firmwareV40 = 1;
    uint8_t m_hardcopyType = 2;       // 1 to 3
    uint8_t m_hardcopyFormat = 1;     // 1 to 3
    uint8_t m_hardcopyInverse = 0;
    int m_fieldCursorNew = 1;
    int m_fieldCursorBlink = 1;
    int m_windowCursorNew = 1;
    int m_windowCursorBlink = 1;

private:
    struct NoProbe {};
    CSystemdatenListe(CNode* parent, const std::string& fileName, NoProbe);
    void AssignValues(const CSystemdatenListe& other);
};
