#include "texts/TextsDemo.h"

#include <initializer_list>

#include "project/Category.h"
#include "project/Projekt.h"
#include "texts/StandardTextListe.h"
#include "texts/Textgruppe.h"
#include "util/Charset.h"
#include "util/Strings.h"

namespace {
struct DemoText {
    int dw, bit, protocolNumber, protocolMode;
    const char* text;  // UTF-8, editing form
};
struct DemoList {
    const char* id;
    const char* name;
    int db;
    std::initializer_list<DemoText> texts;
};

// Standard texts, numbered from 1; the message texts below refer to them as "@001" and so on.
const char* const kStandardTexts[] = {
    "Störung",                 // 1
    "Betrieb",                 // 2
    "Handbetrieb",             // 3
    "Automatik",               // 4
    "Übertemperatur",          // 5
    "Grenzwert überschritten", // 6
    "Motorschutz ausgelöst",   // 7
    "Wartung fällig",          // 8
};

std::string Cp(const char* utf8) { return Utf8ToCp1252(utf8); }

void WriteGroup(CProjekt& root, CCategory& cat, const char* id, const char* name, std::initializer_list<DemoList> lists)
{
    CTextgruppe* g = CTextgruppe::CreateNew(&cat, root.GetExtension());
    g->m_identifier = id;
    g->m_name = PadRight(Cp(name), kTextNameWidth);
    g->m_fileName = root.MakeFileName(std::string("T") + id);
    for (const DemoList& dl : lists) {
        auto* l = new CTextliste(g);
        l->m_identifier = dl.id;
        l->m_name = PadRight(Cp(dl.name), kTextNameWidth);
        l->m_db = static_cast<uint8_t>(dl.db);
        for (const DemoText& dt : dl.texts) {
            auto* t = new CMeldetext(l);
            t->m_dw = static_cast<uint16_t>(dt.dw);
            t->m_bit = static_cast<uint8_t>(dt.bit);
            t->m_protocolNumber = static_cast<uint8_t>(dt.protocolNumber);
            t->m_protocolMode = static_cast<uint8_t>(dt.protocolMode);
            t->m_text = Cp(dt.text);
            l->m_children.push_back(t);
        }
        l->Sort();
        l->UpdateRecordLength();
        g->m_children.push_back(l);
    }
    g->Sort();
    g->m_modified = 1;
    if (g->Save()) {
        if (CFileList* old = cat.FindByBaseName(g->GetBaseName())) cat.CListNode::DeleteChild(old);
        cat.AddChild(g);
        cat.ChildChanged(g);
    } else {
        delete g;
    }
}
}  // namespace

void AddDemoTexts(CProjekt& root)
{
    CCategory* cat = root.GetCategory(NT_CAT_TEXTGRUPPEN);
    if (!cat) return;

    WriteGroup(root, *cat, "ZUL", "Zulauf und Vorklärung",
               {
                   {"PMP", "Zulaufpumpwerk", 10,
                    {
                        {0, 0, 1, 2, "Zulaufpumpe 1 @001"},
                        {0, 1, 1, 2, "Zulaufpumpe 2 @001"},
                        {0, 2, 2, 1, "Zulaufpumpe 1 @007"},
                        {0, 3, 2, 1, "Zulaufpumpe 2 @007"},
                        {0, 8, 0, 0, "Zulaufpumpe 1 @003"},
                        {0, 9, 0, 0, "Zulaufpumpe 2 @003"},
                        {1, 0, 3, 2, "Pumpensumpf Niveau hoch"},
                        {1, 1, 31, 0, "Pumpensumpf Niveau HOCH-HOCH  Überlauf droht"},
                        {1, 2, 0, 0, "Pumpensumpf Trockenlaufschutz"},
                        {2, 0, 4, 1, "Zulaufmenge @006"},
                    }},
                   {"REC", "Rechen und Sandfang", 11,
                    {
                        {0, 0, 5, 2, "Feinrechen @001"},
                        {0, 1, 0, 0, "Feinrechen verstopft, Differenzdruck zu hoch"},
                        {0, 2, 0, 0, "Rechengutpresse @007"},
                        {1, 0, 5, 1, "Sandfangräumer @001"},
                        {1, 4, 0, 0, "Sandfangräumer Endlage nicht erreicht"},
                        {3, 0, 0, 0, "Sandklassierer @008"},
                    }},
               });

    WriteGroup(root, *cat, "BEL", "Biologie",
               {
                   {"BB1", "Belebungsbecken 1", 20,
                    {
                        {0, 0, 6, 2, "Gebläse 1 @001"},
                        {0, 1, 6, 2, "Gebläse 2 @001"},
                        {0, 2, 0, 0, "Gebläse 1 @005"},
                        {4, 0, 7, 3, "O2-Gehalt BB1 unter 1,0 mg/l"},
                        {4, 1, 7, 3, "O2-Gehalt BB1 @006"},
                        {5, 0, 0, 0, "Rührwerk BB1 @007"},
                    }},
                   {"BB2", "Belebungsbecken 2", 21,
                    {
                        {0, 0, 6, 2, "Gebläse 3 @001"},
                        {0, 2, 0, 0, "Gebläse 3 @005"},
                        {4, 0, 7, 3, "O2-Gehalt BB2 unter 1,0 mg/l"},
                        {5, 0, 0, 0, "Rührwerk BB2 @007"},
                    }},
                   {"NKB", "Nachklärbecken", 22,
                    {
                        {0, 0, 8, 4, "Räumerbrücke Nachklärung @001"},
                        {0, 1, 0, 0, "Rücklaufschlammpumpe @001"},
                        {2, 0, 31, 0, "Schlammspiegel Nachklärung zu hoch"},
                    }},
               });

    WriteGroup(root, *cat, "SLA", "Schlammbehandlung",
               {
                   {"FAU", "Faulturm", 30,
                    {
                        {0, 0, 9, 2, "Faulturm Temperatur @006"},
                        {0, 1, 9, 2, "Faulturm Heizung @001"},
                        {0, 3, 0, 0, "Gasfackel in Betrieb"},
                        {1, 0, 31, 0, "Gaswarnanlage: Methan-Alarm"},
                    }},
                   {"ENT", "Entwässerung", 31, {}},
               });

    // The standard text list XTEX.
    auto* xtex = new CStandardTextListe(&root, root.MakeFileName("XTEX"));
    xtex->m_valid = 1;
    xtex->m_loaded = 1;
    for (const char* s : kStandardTexts) {
        auto* t = new CStandardText(xtex);
        t->SetText(Cp(s));
        xtex->m_children.push_back(t);
    }
    xtex->Renumber();
    xtex->m_modified = 1;
    if (!xtex->Save() || root.FindFixedList(NT_STANDARD_TEXTS)) {
        delete xtex;
        return;
    }
    root.AddChild(xtex);
}
