#include "texts/TextsCsv.h"

#include <map>
#include <memory>

#include "app/Application.h"
#include "project/Category.h"
#include "project/Projekt.h"
#include "texts/TextDialogRules.h"
#include "texts/Textgruppe.h"
#include "util/Charset.h"
#include "util/ErrorInfo.h"
#include "util/Format.h"
#include "util/StringTable.h"
#include "util/Strings.h"

const char* const kTextsCsvHeader = "Liste;Listenname;DB;DW;Bit;Protokoll-Nr;Protokoll-BA;Text";

namespace {
constexpr size_t kFieldCount = 8;

std::string Line(int line) { return "Zeile " + std::to_string(line) + ": "; }
std::string FieldMsg(int line, const char* field, const std::string& msg)
{
    return "Zeile " + std::to_string(line) + ", " + field + ": " + msg;
}

// Decodes one UTF-8 sequence at s[i]; false for a malformed one.
bool NextCodePoint(const std::string& s, size_t& i, uint32_t& cp, std::string& bytes)
{
    auto c = static_cast<unsigned char>(s[i]);
    size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    if (n == 0 || i + n > s.size()) return false;
    cp = n == 1 ? c : n == 2 ? (c & 0x1F) : n == 3 ? (c & 0x0F) : (c & 0x07);
    for (size_t k = 1; k < n; ++k) {
        auto d = static_cast<unsigned char>(s[i + k]);
        if ((d >> 6) != 2) return false;
        cp = (cp << 6) | (d & 0x3F);
    }
    static const uint32_t minimum[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < minimum[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    bytes = s.substr(i, n);
    i += n;
    return true;
}

// UTF-8 to the device character set, refusing what the device cannot hold:
// control characters, characters without a display code, and (Cyrillic)
// display characters without a KOI-7 code.
bool Utf8ToDevice(const std::string& utf8, bool cyrillic, std::string& device, std::string& bad)
{
    std::string display;
    for (size_t i = 0; i < utf8.size();) {
        uint32_t cp = 0;
        std::string bytes;
        if (!NextCodePoint(utf8, i, cp, bytes)) {
            bad = "UTF-8";
            return false;
        }
        std::string one = Utf8ToDisplay(bytes, cyrillic);
        auto b = one.size() == 1 ? static_cast<unsigned char>(one[0]) : 0;
        bool holdable = one.size() == 1 && (b != '?' || cp == '?') && b >= 0x20 && b != 0x7F &&
                        !(cyrillic && b >= 0x80 && b < 0xC0);
        if (!holdable) {
            bad = cp < 0x20 || cp == 0x7F ? FormatString("U+%04X", {static_cast<long>(cp)}) : bytes;
            return false;
        }
        display += one;
    }
    device = ToDeviceCharset(display, cyrillic);
    return true;
}

std::string DeviceToUtf8(const std::string& device, bool cyrillic)
{
    return DisplayToUtf8(ToDisplayCharset(device, cyrillic), cyrillic);
}

bool IntField(int line, const char* name, const std::string& text, long lo, long hi, long& value, std::string& message)
{
    if (!ParseDialogInt(text, value)) {
        message = FieldMsg(line, name, MsgNotAnInteger());
        return false;
    }
    if (value < lo || value > hi) {
        message = FieldMsg(line, name, MsgIntegerRange(lo, hi));
        return false;
    }
    return true;
}

std::string Join(const std::vector<std::string>& fields)
{
    std::string out;
    for (size_t i = 0; i < fields.size(); ++i) out += (i ? ";" : "") + fields[i];
    return out;
}

// The identifier part of a command-line group argument.
std::string GroupIdentifierOf(const std::string& arg)
{
    if (arg.size() == 4 && (arg[0] == 'T' || arg[0] == 't')) return arg.substr(1);
    return arg;
}
}  // namespace

bool ParseCsv(const std::string& text, std::vector<std::vector<std::string>>& records, std::vector<int>& lineOf,
              int& errorLine, std::string& error)
{
    records.clear();
    lineOf.clear();
    size_t i = 0;
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) i = 3;  // spreadsheets like to start with a BOM
    int line = 1;
    while (i < text.size()) {
        std::vector<std::string> fields;
        int start = line;
        std::string field;
        bool endOfRecord = false;
        while (!endOfRecord) {
            if (i < text.size() && text[i] == '"') {
                ++i;
                for (;;) {
                    if (i >= text.size()) {
                        errorLine = start;
                        error = Line(start) + Utf8ToCp1252("Anführungszeichen nicht geschlossen.");
                        return false;
                    }
                    char c = text[i++];
                    if (c == '"') {
                        if (i < text.size() && text[i] == '"') {
                            field += '"';
                            ++i;
                        } else {
                            break;
                        }
                    } else {
                        if (c == '\n') ++line;
                        field += c;
                    }
                }
            }
            while (i < text.size() && text[i] != ';' && text[i] != '\n') {
                if (text[i] != '\r' || (i + 1 < text.size() && text[i + 1] != '\n')) field += text[i];
                ++i;
            }
            fields.push_back(field);
            field.clear();
            if (i >= text.size()) {
                endOfRecord = true;
            } else if (text[i] == ';') {
                ++i;
            } else {
                ++i;  // '\n'
                ++line;
                endOfRecord = true;
            }
        }
        // Blank lines carry nothing.
        if (!(fields.size() == 1 && fields[0].empty())) {
            records.push_back(std::move(fields));
            lineOf.push_back(start);
        }
    }
    return true;
}

std::string CsvField(const std::string& s)
{
    bool quote = s.find_first_of(";\"\r\n") != std::string::npos || (!s.empty() && (s.front() == ' ' || s.back() == ' '));
    if (!quote) return s;
    std::string out = "\"";
    for (char c : s) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

std::string ExportTextGroupCsv(const CTextgruppe& group, bool cyrillic)
{
    std::string out = std::string(kTextsCsvHeader) + "\n";
    for (CNode* c : group.m_children) {
        auto* list = static_cast<CTextliste*>(c);
        std::string head = CsvField(DeviceToUtf8(list->m_identifier, cyrillic)) + ";" +
                           CsvField(DeviceToUtf8(TrimRight(list->m_name), cyrillic)) + ";" + std::to_string(list->m_db) + ";";
        if (list->m_children.empty()) out += head + ";;;;\n";
        for (CNode* n : list->m_children) {
            auto* t = static_cast<CMeldetext*>(n);
            out += head + std::to_string(t->m_dw) + ";" + std::to_string(t->m_bit) + ";" + std::to_string(t->m_protocolNumber) +
                   ";" + std::to_string(t->m_protocolMode) + ";" + CsvField(DeviceToUtf8(t->m_text, cyrillic)) + "\n";
        }
    }
    return out;
}

CTextgruppe* FindTextGroup(CProjekt& root, const std::string& arg)
{
    CCategory* cat = root.GetCategory(NT_CAT_TEXTGRUPPEN);
    if (!cat) return nullptr;
    CFileList* f = cat->FindByBaseName("T" + GroupIdentifierOf(arg));
    return f && f->GetType() == NT_TEXTGRUPPE ? static_cast<CTextgruppe*>(f) : nullptr;
}

namespace {
// Builds the lists of the CSV under parent; false with a message on the first refused line.
bool BuildLists(const std::vector<std::vector<std::string>>& records, const std::vector<int>& lineOf, CTextgruppe& parent,
                bool cyrillic, std::vector<std::unique_ptr<CTextliste>>& lists, std::string& message)
{
    unsigned maxDw = App().Settings().maxDwNumber;
    std::map<std::string, CTextliste*> byId;
    for (size_t r = 1; r < records.size(); ++r) {
        const auto& f = records[r];
        int line = lineOf[r];
        if (f.size() != kFieldCount) {
            message = Line(line) + FormatString("%d Felder erwartet, %d gefunden.", {static_cast<long>(kFieldCount), static_cast<long>(f.size())});
            return false;
        }
        std::string bad, id, name, text;
        if (!Utf8ToDevice(f[0], cyrillic, id, bad) || !Utf8ToDevice(f[1], cyrillic, name, bad)) {
            message = Line(line) + Utf8ToCp1252("Zeichen „") + Utf8ToDisplay(bad, cyrillic) +
                      Utf8ToCp1252("“ ist im Zeichensatz des Geräts nicht darstellbar.");
            return false;
        }
        if (!IsValidNamePart(id)) {
            message = FieldMsg(line, "Liste", LoadString(62092));
            return false;
        }
        if (id.size() != 3) {
            message = FieldMsg(line, "Liste", LoadString(62009));
            return false;
        }
        if (name.size() > kTextNameWidth) {
            message = FieldMsg(line, "Listenname", MsgMaxChars(static_cast<long>(kTextNameWidth)));
            return false;
        }
        long db = 0;
        if (!IntField(line, "DB", f[2], 1, 255, db, message)) return false;
        name = PadRight(name, kTextNameWidth);

        CTextliste*& list = byId[id];
        if (!list) {
            lists.push_back(std::make_unique<CTextliste>(&parent));
            list = lists.back().get();
            list->m_identifier = id;
            list->m_name = name;
            list->m_db = static_cast<uint8_t>(db);
        } else if (list->m_name != name || list->m_db != db) {
            message = Line(line) + Utf8ToCp1252("Listenname oder DB weicht von der ersten Zeile der Liste ") + id + " ab.";
            return false;
        }

        bool noText = f[3].empty() && f[4].empty() && f[5].empty() && f[6].empty() && f[7].empty();
        if (noText) continue;
        long dw = 0, bit = 0, number = 0, mode = 0;
        if (!IntField(line, "DW", f[3], 0, maxDw, dw, message)) return false;
        if (!IntField(line, "Bit", f[4], 0, 15, bit, message)) return false;
        if (!IntField(line, "Protokoll-Nr", f[5], 0, 31, number, message)) return false;
        if (!IntField(line, "Protokoll-BA", f[6], 0, 4, mode, message)) return false;
        // Logging modes 1 to 4 take the numbers the dialog offers for them.
        if (mode != 0 && !IntField(line, "Protokoll-Nr", f[5], 1, 30, number, message)) return false;
        if (!Utf8ToDevice(f[7], cyrillic, text, bad)) {
            message = FieldMsg(line, "Text", Utf8ToCp1252("Zeichen „") + Utf8ToDisplay(bad, cyrillic) +
                                                 Utf8ToCp1252("“ ist im Zeichensatz des Geräts nicht darstellbar."));
            return false;
        }
        if (text.size() > kMaxMeldetextLength) {
            message = FieldMsg(line, "Text", MsgMaxChars(static_cast<long>(kMaxMeldetextLength)));
            return false;
        }
        auto* t = new CMeldetext(list);
        t->m_dw = static_cast<uint16_t>(dw);
        t->m_bit = static_cast<uint8_t>(bit);
        t->m_protocolNumber = static_cast<uint8_t>(number);
        t->m_protocolMode = static_cast<uint8_t>(mode);
        t->m_text = text;
        list->m_children.push_back(t);
    }
    return true;
}
}  // namespace

bool ImportTextGroupCsv(CProjekt& root, const std::string& arg, const std::string& csv, const std::string& nameUtf8,
                        bool cyrillic, std::string& message)
{
    std::vector<std::vector<std::string>> records;
    std::vector<int> lineOf;
    int errorLine = 0;
    if (!ParseCsv(csv, records, lineOf, errorLine, message)) return false;
    if (records.empty() || records[0].size() != kFieldCount || Join(records[0]) != kTextsCsvHeader) {
        message = Line(records.empty() ? 1 : lineOf[0]) + "Kopfzeile erwartet: " + kTextsCsvHeader;
        return false;
    }

    CCategory* cat = root.GetCategory(NT_CAT_TEXTGRUPPEN);
    if (!cat) return false;
    CTextgruppe* group = FindTextGroup(root, arg);
    std::unique_ptr<CTextgruppe> created;
    if (!group) {
        // A new group, named and checked as the group dialog does it.
        created.reset(CTextgruppe::CreateNew(cat, root.GetExtension()));
        std::string name, bad;
        if (!Utf8ToDevice(nameUtf8, cyrillic, name, bad)) {
            message = "--name: " + Utf8ToCp1252("Zeichen „") + Utf8ToDisplay(bad, cyrillic) +
                      Utf8ToCp1252("“ ist im Zeichensatz des Geräts nicht darstellbar.");
            return false;
        }
        TextgruppeForm form;
        form.identifier = GroupIdentifierOf(arg);
        form.name = ToDisplayCharset(name, cyrillic);
        DialogCheck check = CheckTextgruppeForm(form, *created, cat);
        if (!check.ok) {
            message = check.message;
            return false;
        }
        created->m_identifier = form.identifier;
        created->m_name = PadRight(name, kTextNameWidth);
        created->m_fileName = root.MakeFileName("T" + ToUpper(form.identifier));
        group = created.get();
    } else if (!group->m_loaded && !group->Load()) {
        message = LoadString(IDS_FILE_ACCESS);
        return false;
    }

    std::vector<std::unique_ptr<CTextliste>> lists;
    if (!BuildLists(records, lineOf, *group, cyrillic, lists, message)) return false;

    // Swap the new lists in; the old ones come back if the group fails its check.
    std::vector<CNode*> old;
    old.swap(group->m_children);
    for (auto& l : lists) {
        l->Sort();
        l->UpdateRecordLength();
        group->m_children.push_back(l.release());
    }
    group->Sort();
    CErrorInfo err;
    bool ok = group->Validate(err, 1);
    if (ok) {
        group->m_modified = 1;
        ok = group->Save();
        if (!ok) err.Set(IDS_FILE_ACCESS);
    }
    if (!ok) {
        message = err.Format();
        // Name the address as well: the list's own check says which one.
        if (err.Id() == 62096) {
            for (CNode* c : group->m_children) {
                CErrorInfo listErr;
                if (!static_cast<CTextliste*>(c)->Validate(listErr, 1)) {
                    message += "\n" + listErr.Format();
                    break;
                }
            }
        }
        group->DestroyChildren();
        group->m_children.swap(old);
        return false;
    }
    for (CNode* n : old) delete n;
    if (created) {
        cat->AddChild(created.release());
        cat->ChildChanged(group);
    }
    return true;
}
