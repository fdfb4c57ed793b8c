#pragma once
// What the module directory, its sections and its entries share.

class CListNode;

namespace moddir {
constexpr int IDS_DIRECTORY_TITLE = 63358;
constexpr int IDS_DIRECTORY_HEADERS = 64008;
constexpr int IDS_CATEGORY_HEADERS = 63354;
constexpr int IDS_TOTAL_LENGTH = 64236;

struct FixedDesignationEntry {
    const char* id;
    int text;
};
extern const FixedDesignationEntry kFixedDesignations[9];

struct SectionEntry {
    const char* selector;
    int text;
};
extern const SectionEntry kSections[5];

// Sum of the lengths of the lists below node (sections count with their entries).
int SumLengths(const CListNode& node);
// The enabling rules the directory and its sections share; -1 means the
// default rule decides.
int DirectoryRule(int command, int selectedCount, bool isFolder);
}  // namespace moddir
