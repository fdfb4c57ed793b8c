#include "views/NewListDialog.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/Application.h"
#include "project/ListKinds.h"
#include "project/Projekt.h"
#include "util/ErrorInfo.h"
#include "util/StringTable.h"
#include "views/NodeCommands.h"

namespace {
const char* BaseNameOf(int nodeType) { return nodeType == NT_USER_SYMBOLS ? "ASYM" : "XTEX"; }

// A list kind that is not built cannot be created either.
bool Creatable(CProjekt& root, int nodeType)
{
    return !root.FindFixedList(nodeType) && FixedListFactory(nodeType) != nullptr;
}
}  // namespace

CNewListDialog::CNewListDialog(CProjekt& root, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Neue Liste anlegen"));
    auto* group = new QGroupBox(this);
    auto* inner = new QVBoxLayout(group);
    m_userSymbols = new QRadioButton(QStringLiteral("Anwender-Symboltabelle"), group);
    m_standardTexts = new QRadioButton(QStringLiteral("Standard-Textliste"), group);
    inner->addWidget(m_userSymbols);
    inner->addWidget(m_standardTexts);
    m_userSymbols->setEnabled(Creatable(root, NT_USER_SYMBOLS));
    m_standardTexts->setEnabled(Creatable(root, NT_STANDARD_TEXTS));
    if (root.FindFixedList(NT_USER_SYMBOLS) || !m_userSymbols->isEnabled())
        m_standardTexts->setChecked(m_standardTexts->isEnabled());
    else
        m_userSymbols->setChecked(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(buttons);
}

int CNewListDialog::ChosenType() const
{
    if (m_userSymbols->isEnabled() && m_userSymbols->isChecked()) return NT_USER_SYMBOLS;
    if (m_standardTexts->isEnabled() && m_standardTexts->isChecked()) return NT_STANDARD_TEXTS;
    return 0;
}

bool CreateFixedList(CProjekt& root, int nodeType)
{
    const ListFactory* factory = FixedListFactory(nodeType);
    if (!factory || root.FindFixedList(nodeType)) return false;
    CFileList* list = (*factory)(&root, root.MakeFileName(BaseNameOf(nodeType)));
    if (!list) return false;
    list->m_valid = 1;
    list->m_loaded = 1;
    list->m_modified = 1;
    if (!list->Save()) {
        delete list;
        CErrorInfo err;
        err.Set(IDS_FILE_ACCESS);
        err.Report(App().Ui());
        return false;
    }
    list->Unload();
    root.AddChild(list);
    root.ChildChanged(nullptr);
    return true;
}

void RegisterProjectUiHandlers()
{
    RegisterNewHandler(NT_PROJEKT, [](const NodeCommandContext& ctx) {
        if (!ctx.list || ctx.list->GetType() != NT_PROJEKT) return;
        auto& root = static_cast<CProjekt&>(*ctx.list);
        CNewListDialog dlg(root, ctx.parent);
        if (dlg.exec() != QDialog::Accepted) return;
        if (int type = dlg.ChosenType()) CreateFixedList(root, type);
    });
}
