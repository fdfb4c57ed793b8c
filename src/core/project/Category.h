#pragma once
#include <string>

#include "model/Node.h"

// One of the five category folders under the project root. Its children are
// the list files whose names match the category's pattern.
class CCategory : public CListNode {
public:
    CCategory(CNode* root, int nodeType);

    int GetType() const override { return m_type; }
    std::string GetColumnText(int column) const override;
    int Compare(const CNode& other) const override;
    bool IsCommandEnabled(int command, int selectedCount, int firstSelected) override;
    int DeleteChild(CNode* node) override;
    bool Load() override;
    void Sort() override;
    int GetColumnCount() const override { return 5; }
    int GetColumnWidth(int column) const override;
    std::string GetColumnHeaders() const override;
    int ChildChanged(CNode* child) override;

    // Constructs the list class of this category for a file name; appended when valid.
    CFileList* CreateChild(const std::string& fileName);
    // A file changed on disk: replace an unloaded node for it, or add it.
    void RescanFile(const std::string& baseName);
    CFileList* FindByBaseName(const std::string& baseName) const;
    void RecalcTotalLength();

    std::string m_pattern;
    int m_totalLength = 0;

private:
    int m_type;
};

// Searches the pictures for references of a text group (and text list);
// pictures plug in here once they exist. Returns false when the search
// could not complete.
struct CKennungVerwendung {
    std::string pictureBaseName;
    std::string pictureName;
    int holderType = 0;
    int holderPosition = 0;
    int entryPosition = 0;
};

#include <functional>
#include <vector>

// The pictures' search for text-group references (group base name g, list
// name l or empty). Until pictures can hold links there is nothing to find.
using TextGroupReferenceFinder =
    std::function<void(CCategory& pictures, const std::string& group, const std::string& list,
                        std::vector<CKennungVerwendung>& result)>;
void SetTextGroupReferenceFinder(TextGroupReferenceFinder finder);
const TextGroupReferenceFinder* GetTextGroupReferenceFinder();
