#pragma once
#include <array>
#include <string>
#include <vector>

#include "model/Node.h"

class CCategory;
class CErrorInfo;
struct CKennungVerwendung;

// The project root: a directory holding a system data list and the list files.
class CProjekt : public CListNode {
public:
    // extension empty: "920" when SDAT.920 exists, otherwise "SYS".
    CProjekt(const std::string& directory, const std::string& extension = {});
    ~CProjekt() override;

    int GetType() const override { return NT_PROJEKT; }
    std::string GetColumnText(int column) const override;
    bool IsCommandEnabled(int command, int selectedCount, int firstSelected) override;
    int DeleteChild(CNode* node) override;
    bool Load() override;
    void Sort() override;
    int GetColumnCount() const override { return 5; }
    int GetColumnWidth(int column) const override;
    std::string GetColumnHeaders() const override;

    const std::string& GetDirectory() const { return m_directory; }  // ends with '/'
    const std::string& GetExtension() const { return m_extension; }
    const std::string& GetDate() const { return m_date; }

    // A file name of this project: base + "." + extension.
    std::string MakeFileName(const std::string& baseName) const { return baseName + "." + m_extension; }
    // Directory + the on-disk spelling of a file name.
    std::string PathOf(const std::string& fileName) const;

    CCategory* GetCategory(int nodeType) const;  // 1..5
    CFileList* GetComposite(int index) const;    // 0..5, null when missing
    CFileList* FindFixedList(int nodeType) const;  // searched from position 5 on

    // Composite upkeep.
    bool IsInComposite(int index, const std::string& baseName) const;
    bool AddToComposite(int index, const std::string& baseName);
    bool RemoveFromComposite(int index, const std::string& baseName);
    bool AddAllToComposite(int index, const std::vector<std::string>& names);
    bool RemoveAllFromComposite(int index, const std::vector<std::string>& names);
    void RemoveFromAllComposites(const std::string& baseName);
    void RenameInComposites(const std::string& oldBase, const std::string& newBase);
    // Creates composite list index when it does not exist (valid, loaded, empty).
    CFileList* EnsureComposite(int index);

    // A file was written from outside the tree (a list read from the module).
    void RefreshAfterOutsideWrite(const std::string& baseName);

    // Legacy container conversion (LISA.SYS, PROP.SYS, PINHV.SYS).
    bool ConvertContainer(const std::string& containerName, uint8_t requiredType, char prefix, CErrorInfo& err);
    bool ConvertPinhv(CErrorInfo& err);

    std::string m_directory;
    std::string m_extension;
    std::string m_date;
    std::array<CFileList*, 6> m_composites {};
};

// Project test: true and the name without trailing blanks when dir holds a project.
bool TestProject(const std::string& directory, std::string& name);
