// "Neu" and "Eigenschaften" for text groups, text lists, message texts and
// the standard text list.
#include <memory>

#include "project/Category.h"
#include "project/Projekt.h"
#include "texts/StandardTextListe.h"
#include "texts/TextDialogs.h"
#include "texts/Textgruppe.h"
#include "views/NodeCommands.h"

namespace {
int FirstSelected(const NodeCommandContext& ctx) { return ctx.selectedRows.empty() ? -1 : ctx.selectedRows.front(); }

CNode* SelectedChild(const NodeCommandContext& ctx)
{
    return ctx.list ? ctx.list->GetChild(FirstSelected(ctx)) : nullptr;
}

void NewTextgruppe(const NodeCommandContext& ctx)
{
    if (!ctx.list || ctx.list->GetType() != NT_CAT_TEXTGRUPPEN) return;
    auto* cat = static_cast<CCategory*>(ctx.list);
    CProjekt* root = cat->GetRoot();
    if (!root) return;
    std::unique_ptr<CTextgruppe> group(CTextgruppe::CreateNew(cat, root->GetExtension()));
    CTextgruppeDlg dlg(*group, cat, true, ctx.parent);
    if (dlg.exec() != QDialog::Accepted) return;
    CTextgruppe* g = group.release();
    cat->AddChild(g);
    cat->ChildChanged(g);
}

void NewTextliste(const NodeCommandContext& ctx)
{
    if (!ctx.list || ctx.list->GetType() != NT_TEXTGRUPPE) return;
    auto* group = static_cast<CTextgruppe*>(ctx.list);
    auto list = std::make_unique<CTextliste>(group);
    CTextlisteDlg dlg(*list, group, true, ctx.parent);
    if (dlg.exec() != QDialog::Accepted) return;
    CTextliste* l = list.release();
    group->AddChild(l);
    group->ChildChanged(l);
}

void NewMeldetext(const NodeCommandContext& ctx)
{
    if (!ctx.list || ctx.list->GetType() != NT_TEXTLISTE) return;
    auto* list = static_cast<CTextliste*>(ctx.list);
    auto text = std::make_unique<CMeldetext>(list);
    CMeldetextDlg dlg(*text, list, true, ctx.parent);
    if (dlg.exec() != QDialog::Accepted) return;
    CMeldetext* t = text.release();
    list->InsertChildAfter(t, FirstSelected(ctx));
    list->ChildChanged(t);
}

void NewStandardText(const NodeCommandContext& ctx)
{
    if (!ctx.list || ctx.list->GetType() != NT_STANDARD_TEXTS) return;
    auto* list = static_cast<CStandardTextListe*>(ctx.list);
    int selected = FirstSelected(ctx);
    auto text = std::make_unique<CStandardText>(list, NewStandardTextNumber(*list, selected));
    CStandardTextDlg dlg(*text, list, true, ctx.parent);
    if (dlg.exec() != QDialog::Accepted) return;
    // A full list refuses (62086) and destroys the entry itself.
    list->InsertChildAfter(text.release(), selected);
    list->ChildChanged(nullptr);
}

void EditTextgruppe(const NodeCommandContext& ctx)
{
    CNode* c = SelectedChild(ctx);
    if (!c || c->GetType() != NT_TEXTGRUPPE) return;
    CCategory* cat = ctx.list->GetType() == NT_CAT_TEXTGRUPPEN ? static_cast<CCategory*>(ctx.list) : nullptr;
    CTextgruppeDlg dlg(*static_cast<CTextgruppe*>(c), cat, false, ctx.parent);
    dlg.exec();
}

void EditTextliste(const NodeCommandContext& ctx)
{
    CNode* c = SelectedChild(ctx);
    if (!c || c->GetType() != NT_TEXTLISTE) return;
    auto* list = static_cast<CTextliste*>(c);
    CTextlisteDlg dlg(*list, list->GetGroup(), false, ctx.parent);
    dlg.exec();
}

void EditMeldetext(const NodeCommandContext& ctx)
{
    CNode* c = SelectedChild(ctx);
    if (!c || c->GetType() != NT_MELDETEXT) return;
    auto* text = static_cast<CMeldetext*>(c);
    CMeldetextDlg dlg(*text, text->GetList(), false, ctx.parent);
    dlg.exec();
}

void EditStandardText(const NodeCommandContext& ctx)
{
    CNode* c = SelectedChild(ctx);
    if (!c || c->GetType() != NT_STANDARD_TEXT || ctx.list->GetType() != NT_STANDARD_TEXTS) return;
    CStandardTextDlg dlg(*static_cast<CStandardText*>(c), static_cast<CStandardTextListe*>(ctx.list), false, ctx.parent);
    dlg.exec();
}
}  // namespace

void RegisterTextUiHandlers()
{
    RegisterNewHandler(NT_CAT_TEXTGRUPPEN, NewTextgruppe);
    RegisterNewHandler(NT_TEXTGRUPPE, NewTextliste);
    RegisterNewHandler(NT_TEXTLISTE, NewMeldetext);
    RegisterNewHandler(NT_STANDARD_TEXTS, NewStandardText);
    RegisterPropertiesHandler(NT_TEXTGRUPPE, EditTextgruppe);
    RegisterPropertiesHandler(NT_TEXTLISTE, EditTextliste);
    RegisterPropertiesHandler(NT_MELDETEXT, EditMeldetext);
    RegisterPropertiesHandler(NT_STANDARD_TEXT, EditStandardText);
}
