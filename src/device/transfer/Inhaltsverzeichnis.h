#pragma once
#include <string>

#include "model/Node.h"

class CComm;

// The module's directory: five sections, then SDAT, ASYM and XTEX when the
// module has them. Loading it reads the directory from the module.
class CInhaltsverzeichnis : public CListNode {
public:
    explicit CInhaltsverzeichnis(CComm& comm, std::string extension = "920");

    int GetType() const override { return NT_DEVICE_DIRECTORY; }
    std::string GetColumnText(int column) const override;
    bool IsCommandEnabled(int command, int selectedCount, int firstSelected) override;
    bool Load() override;
    int GetColumnCount() const override { return 5; }
    int GetColumnWidth(int column) const override;
    std::string GetColumnHeaders() const override;
    std::string GetStatusText(int pane) const override;

    // "Gesamtlänge: %d Byte" with the total length.
    std::string GetSummaryText() const;
    // Sum over the sections and the direct entries, so it follows deletions.
    int TotalLength() const;
    void SetExtension(const std::string& extension) { m_extension = extension; }

private:
    CComm& m_comm;
    std::string m_extension;
};
