#pragma once
#include <QString>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "model/Node.h"
#include "util/UserInteraction.h"

class QApplication;
class QTemporaryDir;
class CMainFrame;
class CReportView;

// Message boxes answered from a script; every text and style is kept.
class CScriptedUi : public IUserInteraction {
public:
    int MessageBox(const std::string& text, unsigned style) override;
    void Reset();
    // Answers used in order; when they run out, m_default answers.
    std::deque<int> m_answers;
    int m_default = IDOK;
    std::vector<QString> m_texts;  // as UTF-8 for comparisons
    std::vector<unsigned> m_styles;
};
CScriptedUi& ScriptedUi();

// Called once by the test main: desktop seams with the scripted message
// boxes, the test list kind, a build-tree-like executable directory.
void InitUiTestEnvironment(QApplication& app);
void ShutdownUiTestEnvironment();

// ---- a small list kind that shows every behaviour the view relies on

constexpr int kTestEntryType = NT_PROT_ORGANISATION;  // no real dialog is registered for it
constexpr const char* kTestClipFormat = "PX920_TESTENTRY";

class CTestEntry : public CNode {
public:
    CTestEntry(CNode* parent, std::string name) : CNode(parent, 13, std::move(name)) {}
    int GetType() const override { return kTestEntryType; }
    std::string GetColumnText(int column) const override;
    bool WriteRecord(std::vector<uint8_t>& out) const override;
    bool ReadRecord(std::span<const uint8_t> record) override;
    uint16_t GetRecordSize() const override { return static_cast<uint16_t>(2 + m_name.size()); }
};

// A picture-category list ("B" + identifier) stored as text: a marker line,
// the list name, then one entry name per line.
class CTestList : public CFileList {
public:
    CTestList(CListNode* parent, const std::string& fileName);
    int GetType() const override { return NT_BILD; }
    bool IsCommandEnabled(int command, int selectedCount, int firstSelected) override;
    bool Validate(CErrorInfo& err, int mode) override;
    bool Load() override;
    bool Save() override;
    int GetColumnCount() const override { return 2; }
    int GetColumnWidth(int column) const override { return column == 0 ? 20 : 10; }
    std::string GetColumnHeaders() const override { return "Name\nWert"; }
    std::string GetClipboardFormatName() const override { return kTestClipFormat; }
    CNode* CreateChildFromRecord(int insertAfter, std::span<const uint8_t> record) override;
    int ChildChanged(CNode* child) override;

    // Test controls, kept per base name so that they survive re-scans.
    struct Controls {
        bool validateOk = true;
        bool saveOk = true;
        int saves = 0;
    };
    static std::map<std::string, Controls>& AllControls();
    Controls& Ctl() const { return AllControls()[GetBaseName()]; }
};

// Writes a project: system data list with the name, one test list per entry
// of lists (base name -> entry names), and the load composite naming them.
bool MakeTestProject(const std::string& dir, const std::string& name,
                     const std::map<std::string, std::vector<std::string>>& lists, bool withComposite = true);
bool WriteTestList(const std::string& dir, const std::string& base, const std::vector<std::string>& entries);

// Helpers on an open project.
CReportView* ViewOf(const CNode* node);
CNode* ChildNamed(CListNode* list, const std::string& name);
QStringList RowTexts(CReportView* view, int column = 0);
