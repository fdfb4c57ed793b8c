#include "support/UiTestSupport.h"

#include <QApplication>
#include <QCoreApplication>
#include <QTreeWidget>

#include "app/Application.h"
#include "app/DesktopApp.h"
#include "listfile/ByteStream.h"
#include "project/ListKinds.h"
#include "project/NewProject.h"
#include "project/Projekt.h"
#include "util/Charset.h"
#include "util/ErrorInfo.h"
#include "util/FileSystem.h"
#include "util/Strings.h"
#include "views/ReportDoc.h"
#include "views/ReportView.h"

// ------------------------------------------------------------ scripted UI

int CScriptedUi::MessageBox(const std::string& text, unsigned style)
{
    m_texts.push_back(QString::fromStdString(Cp1252ToUtf8(text)));
    m_styles.push_back(style);
    if (m_answers.empty()) return m_default;
    int a = m_answers.front();
    m_answers.pop_front();
    return a;
}

void CScriptedUi::Reset()
{
    m_answers.clear();
    m_default = IDOK;
    m_texts.clear();
    m_styles.clear();
}

CScriptedUi& ScriptedUi()
{
    static CScriptedUi ui;
    return ui;
}

void InitUiTestEnvironment(QApplication& app)
{
    // The executable directory decides the installation root; the tests run
    // from <build>/tests/ui, which has none, like a program outside bin/.
    App().SetExecutableDir(QCoreApplication::applicationDirPath().toStdString());
    InitDesktopServices(app);
    App().SetUi(&ScriptedUi());
    RegisterCategoryFactory(NT_CAT_BILDER, [](CListNode* parent, const std::string& fileName) -> CFileList* {
        return new CTestList(parent, fileName);
    });
}

void ShutdownUiTestEnvironment()
{
    App().SetProject(nullptr);
    App().SetUi(nullptr);
    App().SetClipboard(nullptr);
}

// ------------------------------------------------------------- test kind

std::string CTestEntry::GetColumnText(int column) const
{
    return column == 0 ? m_name : std::to_string(m_name.size());
}

bool CTestEntry::WriteRecord(std::vector<uint8_t>& out) const
{
    uint16_t size = GetRecordSize();
    out.push_back(static_cast<uint8_t>(size & 0xFF));
    out.push_back(static_cast<uint8_t>(size >> 8));
    out.insert(out.end(), m_name.begin(), m_name.end());
    return true;
}

bool CTestEntry::ReadRecord(std::span<const uint8_t> record)
{
    if (record.size() < 2) return false;
    m_name.assign(record.begin() + 2, record.end());
    return true;
}

std::map<std::string, CTestList::Controls>& CTestList::AllControls()
{
    static std::map<std::string, Controls> controls;
    return controls;
}

CTestList::CTestList(CListNode* parent, const std::string& fileName) : CFileList(parent, fileName)
{
    m_imageIndex = 3;
    m_valid = 0;
    std::vector<uint8_t> data;
    if (!fsx::ReadWholeFile(GetPath(), data)) return;
    std::string text(data.begin(), data.end());
    if (text.rfind("TESTLIST\n", 0) != 0) return;
    size_t nl = text.find('\n', 9);
    m_name = text.substr(9, nl == std::string::npos ? std::string::npos : nl - 9);
    m_fileLength = static_cast<int>(data.size());
    m_valid = 1;
}

bool CTestList::IsCommandEnabled(int command, int s, int first)
{
    switch (command) {
    case CMD_NEW:
    case CMD_CLOSE:
    case CMD_SAVE:
    case CMD_CLOSE_PROJECT: return true;
    case CMD_OPEN:
    case CMD_PROPERTIES:
    case CMD_WORK_LIST: return s == 1;
    case CMD_DELETE:
    case CMD_COPY:
    case CMD_CUT: return s > 0;
    case CMD_PASTE: return ClipboardHasFormat(App().Clipboard());
    default: return CListNode::IsCommandEnabled(command, s, first);
    }
}

bool CTestList::Validate(CErrorInfo& err, int)
{
    if (Ctl().validateOk) return true;
    err.Set(62012, GetFileName(), 0);
    return false;
}

bool CTestList::Load()
{
    DestroyChildren();
    std::vector<uint8_t> data;
    if (!fsx::ReadWholeFile(GetPath(), data)) return false;
    std::string text(data.begin(), data.end());
    size_t pos = text.find('\n', 9);
    while (pos != std::string::npos && pos + 1 < text.size()) {
        size_t nl = text.find('\n', pos + 1);
        std::string line = text.substr(pos + 1, nl == std::string::npos ? std::string::npos : nl - pos - 1);
        if (!line.empty()) m_children.push_back(new CTestEntry(this, line));
        pos = nl;
    }
    m_loaded = 1;
    m_modified = 0;
    return true;
}

bool CTestList::Save()
{
    ++Ctl().saves;
    if (!Ctl().saveOk) return false;
    std::string text = "TESTLIST\n" + m_name + "\n";
    for (CNode* c : m_children) text += c->m_name + "\n";
    if (!fsx::WriteFileAtomic(GetPath(), reinterpret_cast<const uint8_t*>(text.data()), text.size())) return false;
    AfterSave();
    return true;
}

CNode* CTestList::CreateChildFromRecord(int insertAfter, std::span<const uint8_t> record)
{
    auto* entry = new CTestEntry(this, {});
    if (!entry->ReadRecord(record)) {
        delete entry;
        return nullptr;
    }
    InsertChildAfter(entry, insertAfter);
    m_modified = 1;
    return entry;
}

int CTestList::ChildChanged(CNode* child)
{
    m_modified = 1;
    return CListNode::ChildChanged(child);
}

bool WriteTestList(const std::string& dir, const std::string& base, const std::vector<std::string>& entries)
{
    std::string text = "TESTLIST\nListe " + base + "\n";
    for (const auto& e : entries) text += e + "\n";
    return fsx::WriteFileAtomic(fsx::JoinPath(dir, base + ".920"), reinterpret_cast<const uint8_t*>(text.data()),
                                text.size());
}

bool MakeTestProject(const std::string& dirIn, const std::string& name,
                     const std::map<std::string, std::vector<std::string>>& lists, bool withComposite)
{
    std::string dir = fsx::WithSlash(dirIn);
    fsx::MakeDirectories(dir);
    CErrorInfo err;
    if (!CreateNewSystemDataList(dir, "920", PadRight(Utf8ToCp1252(name), 32), err)) return false;
    std::vector<std::string> names {"SDAT"};
    for (const auto& [base, entries] : lists) {
        if (!WriteTestList(dir, base, entries)) return false;
        names.push_back(base);
    }
    if (withComposite) {
        CProjekt root(dir, "920");
        if (!root.m_valid || !root.Load()) return false;
        root.AddAllToComposite(0, names);
    }
    return true;
}

// ---------------------------------------------------------------- helpers

CReportView* ViewOf(const CNode* node)
{
    if (!node || !node->m_document) return nullptr;
    auto* doc = dynamic_cast<CReportDoc*>(node->m_document);
    return doc ? doc->View() : nullptr;
}

CNode* ChildNamed(CListNode* list, const std::string& name)
{
    if (!list) return nullptr;
    for (CNode* c : list->m_children)
        if (TrimRight(c->m_name) == name) return c;
    return nullptr;
}

QStringList RowTexts(CReportView* view, int column)
{
    QStringList rows;
    if (!view) return rows;
    for (int i = 0; i < view->topLevelItemCount(); ++i) rows << view->topLevelItem(i)->text(column);
    return rows;
}
