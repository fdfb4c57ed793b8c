#include "texts/TextDialogRules.h"

#include <cctype>
#include <climits>

#include "app/Application.h"
#include "model/DocumentLink.h"
#include "project/Category.h"
#include "project/Projekt.h"
#include "texts/StandardTextListe.h"
#include "texts/Textgruppe.h"
#include "util/Charset.h"
#include "util/ErrorInfo.h"
#include "util/Format.h"
#include "util/StringTable.h"
#include "util/Strings.h"
#include "util/UserInteraction.h"

namespace {
std::string Replace(std::string s, const std::string& what, const std::string& with)
{
    size_t p = s.find(what);
    if (p != std::string::npos) s.replace(p, what.size(), with);
    return s;
}

TextReferenceRenamer& Renamer()
{
    static TextReferenceRenamer renamer;
    return renamer;
}

void Report(IUserInteraction& ui, int id)
{
    CErrorInfo err;
    err.Set(id);
    err.Report(ui);
}
}  // namespace

DialogCheck DialogCheck::Fail(int control, std::string message, unsigned style)
{
    DialogCheck c;
    c.ok = false;
    c.control = control;
    c.message = std::move(message);
    c.style = style;
    return c;
}

DialogCheck DialogCheck::FailId(int control, int messageId, long number)
{
    return Fail(control, FormatMessageText(LoadString(messageId), number), mb::OK | mb::ICONERROR);
}

std::string MsgNotAnInteger() { return "Geben Sie bitte eine ganze Zahl ein."; }

std::string MsgIntegerRange(long lo, long hi)
{
    return Replace(Replace("Geben Sie bitte eine ganze Zahl zwischen %1 und %2 ein.", "%1", std::to_string(lo)), "%2",
                   std::to_string(hi));
}

std::string MsgMaxChars(long n) { return Replace("Geben Sie bitte nicht mehr als %1 Zeichen ein.", "%1", std::to_string(n)); }

bool ParseDialogInt(const std::string& text, long& value)
{
    std::string t = Trim(Trim(text), '\t');
    size_t i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
    if (i == t.size()) return false;
    long long v = 0;
    for (; i < t.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(t[i]))) return false;
        v = v * 10 + (t[i] - '0');
        if (v > static_cast<long long>(INT_MAX) + 1) return false;
    }
    if (negative) v = -v;
    if (v > INT_MAX || v < INT_MIN) return false;
    value = static_cast<long>(v);
    return true;
}

DialogCheck CheckIntegerOnly(int control, const std::string& text, long& value)
{
    if (!ParseDialogInt(text, value)) return DialogCheck::Fail(control, MsgNotAnInteger(), mb::OK | mb::ICONWARNING);
    return DialogCheck::Pass();
}

DialogCheck CheckInt(int control, const std::string& text, long lo, long hi, long& value)
{
    DialogCheck c = CheckIntegerOnly(control, text, value);
    if (!c.ok) return c;
    if (value < lo || value > hi) return DialogCheck::Fail(control, MsgIntegerRange(lo, hi), mb::OK | mb::ICONWARNING);
    return DialogCheck::Pass();
}

DialogCheck CheckMaxChars(int control, const std::string& text, size_t n)
{
    if (text.size() > n) return DialogCheck::Fail(control, MsgMaxChars(static_cast<long>(n)), mb::OK | mb::ICONWARNING);
    return DialogCheck::Pass();
}

// ---------------------------------------------------------------- dialog 147

const std::vector<std::string>& ProtocolModeItems()
{
    static const std::vector<std::string> items = {
        "ohne Protokollierung",    "BA0 (direkte Ausgabe)",   "BA1 (speichem)",
        "BA2 (speichem + direkt)", "BA3 (B1 + Zwangsausgab)", "BA4 (B2 + Zwangsausgab)",
    };
    return items;
}

int ProtocolModeIndex(uint8_t number, uint8_t mode)
{
    if (mode != 0) return mode + 1 < kProtocolModeCount ? mode + 1 : -1;
    return number == 0 ? 0 : 1;
}

bool ProtocolNumberEnabled(int modeIndex) { return modeIndex >= 2; }

std::string ProtocolNumberAfterModeChange(int modeIndex, bool wasEnabled, const std::string& current)
{
    if (modeIndex == 0) return "0";
    if (modeIndex == 1) return "31";
    if (modeIndex < 0) return current;
    return wasEnabled ? current : "1";
}

MeldetextForm MeldetextFormFrom(const CMeldetext& text, const CTextliste* list)
{
    MeldetextForm f;
    f.db = std::to_string(list ? list->m_db : 0);
    f.dw = std::to_string(text.m_dw);
    f.bit = std::to_string(text.m_bit);
    f.modeIndex = ProtocolModeIndex(text.m_protocolNumber, text.m_protocolMode);
    f.protocolNumber = f.modeIndex == 1 ? "31" : std::to_string(text.m_protocolNumber);
    f.text = ToDisplayCharset(text.m_text);
    return f;
}

DialogCheck CheckMeldetextForm(const MeldetextForm& f, const CTextliste* list, const CMeldetext* self, unsigned maxDw,
                               CMeldetext& out)
{
    long db = 0, dw = 0, number = 0, bit = 0;
    DialogCheck c = CheckInt(textctl::DB, f.db, 1, 255, db);
    if (!c.ok) return c;
    if (!(c = CheckIntegerOnly(textctl::DW, f.dw, dw)).ok) return c;
    if (!(c = CheckMaxChars(textctl::Text, f.text, kMaxMeldetextLength)).ok) return c;
    if (!(c = CheckInt(textctl::ProtocolNumber, f.protocolNumber, 0, 31, number)).ok) return c;
    if (!(c = CheckInt(textctl::Bit, f.bit, 0, 15, bit)).ok) return c;
    if (!(c = CheckInt(textctl::DW, f.dw, 0, maxDw, dw)).ok) return c;
    if (f.modeIndex >= 2 && !(c = CheckInt(textctl::ProtocolNumber, f.protocolNumber, 1, 30, number)).ok) return c;
    if (list) {
        for (CNode* n : list->m_children) {
            auto* other = static_cast<CMeldetext*>(n);
            if (other != self && other->m_dw == dw && other->m_bit == bit) {
                CErrorInfo err;
                err.Set(62094);
                return DialogCheck::Fail(textctl::DW, err.Format(), mb::OK | mb::ICONERROR);
            }
        }
    }
    out.m_dw = static_cast<uint16_t>(dw);
    out.m_bit = static_cast<uint8_t>(bit);
    switch (f.modeIndex) {
    case 0:
        out.m_protocolNumber = 0;
        out.m_protocolMode = 0;
        break;
    case 1:
        out.m_protocolNumber = 31;
        out.m_protocolMode = 0;
        break;
    case 2:
    case 3:
    case 4:
    case 5:
        out.m_protocolNumber = static_cast<uint8_t>(number);
        out.m_protocolMode = static_cast<uint8_t>(f.modeIndex - 1);
        break;
    default:
        // A mode the box cannot show: the logging stays as it was.
        out.m_protocolNumber = self ? self->m_protocolNumber : 0;
        out.m_protocolMode = self ? self->m_protocolMode : 0;
        break;
    }
    out.m_text = ToDeviceCharset(f.text);
    return DialogCheck::Pass();
}

void ApplyMeldetext(CMeldetext& text, const CMeldetext& v, CTextliste* list)
{
    text.m_dw = v.m_dw;
    text.m_bit = v.m_bit;
    text.m_protocolNumber = v.m_protocolNumber;
    text.m_protocolMode = v.m_protocolMode;
    text.m_text = v.m_text;
    if (list && list->IndexOf(&text) >= 0) list->ChildChanged(&text);
}

// ---------------------------------------------------------------- dialog 163

int NewStandardTextNumber(const CStandardTextListe& list, int selectedRow)
{
    if (const CNode* sel = list.GetChild(selectedRow)) return static_cast<const CStandardText*>(sel)->m_number + 1;
    if (list.GetChildCount() == 0) return 1;
    return static_cast<const CStandardText*>(list.GetChild(list.GetChildCount() - 1))->m_number + 1;
}

DialogCheck CheckStandardTextForm(const std::string& number, const std::string& displayText, std::string& deviceText)
{
    long n = 0;
    DialogCheck c = CheckInt(textctl::StdNumber, number, 1, 255, n);
    if (!c.ok) return c;
    if (!(c = CheckMaxChars(textctl::StdText, displayText, kMaxStandardTextLength)).ok) return c;
    if (displayText.find('@') != std::string::npos) return DialogCheck::FailId(textctl::StdText, 62091);
    deviceText = ToDeviceCharset(displayText);
    return DialogCheck::Pass();
}

// ------------------------------------------------------- dialogs 141 and 140

TextgruppeForm TextgruppeFormFrom(const CTextgruppe& group)
{
    TextgruppeForm f;
    f.prefix = group.GetBaseName().substr(0, 1);
    f.identifier = group.GetIdentifier();
    f.name = TrimRight(ToDisplayCharset(group.m_name));
    return f;
}

DialogCheck CheckTextgruppeForm(const TextgruppeForm& f, const CTextgruppe& group, const CCategory* category)
{
    DialogCheck c = CheckMaxChars(textctl::GroupName, f.name, kTextNameWidth);
    if (!c.ok) return c;
    if (!(c = CheckMaxChars(textctl::GroupPrefix, f.prefix, 1)).ok) return c;
    if (!(c = CheckMaxChars(textctl::GroupId, f.identifier, 3)).ok) return c;
    std::string upper = ToUpper(f.identifier);
    if (!IsValidNamePart(upper)) return DialogCheck::FailId(textctl::GroupId, 62092);
    if (upper.size() != 3) return DialogCheck::FailId(textctl::GroupId, 62009);
    if (category) {
        for (CNode* n : category->m_children) {
            if (n == &group) continue;
            if (static_cast<CFileList*>(n)->GetBaseName() == "T" + upper) return DialogCheck::FailId(textctl::GroupId, 62008);
        }
    }
    return DialogCheck::Pass();
}

TextlisteForm TextlisteFormFrom(const CTextliste& list)
{
    TextlisteForm f;
    f.identifier = list.m_identifier;
    f.db = std::to_string(list.m_db);
    f.name = TrimRight(ToDisplayCharset(list.m_name));
    return f;
}

DialogCheck CheckTextlisteForm(const TextlisteForm& f, const CTextliste& list, const CTextgruppe* group, long& db)
{
    DialogCheck c = CheckMaxChars(textctl::ListName, f.name, kTextNameWidth);
    if (!c.ok) return c;
    if (!(c = CheckMaxChars(textctl::ListPrefix, f.prefix, 1)).ok) return c;
    if (!(c = CheckMaxChars(textctl::ListId, f.identifier, 3)).ok) return c;
    if (!(c = CheckInt(textctl::ListDb, f.db, 1, 255, db)).ok) return c;
    if (!IsValidNamePart(f.identifier)) return DialogCheck::FailId(textctl::ListId, 62092);
    if (f.identifier.size() != 3) return DialogCheck::FailId(textctl::ListId, 62009);
    if (group) {
        for (CNode* n : group->m_children) {
            if (n != &list && static_cast<CTextliste*>(n)->m_identifier == f.identifier)
                return DialogCheck::FailId(textctl::ListId, 62008);
        }
    }
    return DialogCheck::Pass();
}

void SetTextReferenceRenamer(TextReferenceRenamer renamer) { Renamer() = std::move(renamer); }

bool RunIdentifierChange(CTextgruppe& group, CTextliste* list, const std::string& newIdentifier, IUserInteraction& ui)
{
    CProjekt* root = group.GetRoot();
    CCategory* pictures = root ? root->GetCategory(NT_CAT_BILDER) : nullptr;
    if (!pictures) return true;
    if (!pictures->m_loaded && !pictures->Load()) {
        Report(ui, IDS_FILE_ACCESS);
        return false;
    }
    bool goOn = true;
    if (const TextGroupReferenceFinder* finder = GetTextGroupReferenceFinder()) {
        std::vector<CKennungVerwendung> usages;
        std::string listId = list ? list->m_identifier : std::string();
        (*finder)(*pictures, group.GetBaseName(), listId, usages);
        if (!usages.empty()) {
            std::string title = list ? FormatString(LoadString(64451), {"N" + list->m_identifier})
                                     : FormatString(LoadString(64452), {group.GetBaseName()});
            IProjectUi* projectUi = App().ProjectUi();
            goOn = projectUi && projectUi->ConfirmDeleteWithUsages(title, usages);
            if (goOn && ui.MessageBox(LoadString(64453), mb::YESNO | mb::ICONQUESTION) == IDYES && Renamer()) {
                if (list)
                    Renamer()(*pictures, group.GetBaseName().substr(1), group.GetBaseName().substr(1), list->m_identifier,
                              newIdentifier);
                else
                    Renamer()(*pictures, group.GetIdentifier(), newIdentifier, std::string(), std::string());
            }
        }
    }
    // Pictures loaded for the search and shown nowhere go back to disk.
    for (CNode* c : pictures->m_children) {
        auto* pic = static_cast<CFileList*>(c);
        if (pic->m_loaded && !pic->m_document) {
            if (pic->m_modified) pic->Save();
            pic->Unload();
        }
    }
    return goOn;
}

bool ApplyTextgruppeForm(CTextgruppe& group, const TextgruppeForm& f, bool isNew, IUserInteraction& ui)
{
    if (!isNew && f.identifier != group.GetIdentifier() && !RunIdentifierChange(group, nullptr, f.identifier, ui))
        return false;
    std::string oldIdentifier = group.m_identifier;
    std::string oldName = group.m_name;
    std::string name = PadRight(f.name, kTextNameWidth);
    group.m_identifier = f.identifier;
    if (!group.SetProperties("T" + ToUpper(f.identifier), ToDeviceCharset(name))) {
        // The file keeps its old name: so must the header identifier, or the
        // next save would write a file its own name no longer matches.
        group.m_identifier = oldIdentifier;
        group.m_name = oldName;
        Report(ui, IDS_FILE_ACCESS);
        return false;
    }
    return true;
}

bool ApplyTextlisteForm(CTextliste& list, CTextgruppe* group, const TextlisteForm& f, long db, bool isNew,
                        IUserInteraction& ui)
{
    if (!isNew && group && f.identifier != list.m_identifier && !RunIdentifierChange(*group, &list, f.identifier, ui))
        return false;
    list.m_identifier = f.identifier;
    list.m_db = static_cast<uint8_t>(db);
    list.m_name = ToDeviceCharset(PadRight(f.name, kTextNameWidth));
    list.UpdateRecordLength();
    if (group && group->IndexOf(&list) >= 0) group->ChildChanged(&list);
    if (list.m_document) list.m_document->SetTitle(ToDisplayCharset(list.m_name));
    return true;
}
