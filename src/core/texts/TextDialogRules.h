#pragma once
// The checks and derived values of the text dialogs (message text, standard
// text, text group, text list), kept free of any window so that they can be
// tested and shared by the desktop and the command-line import.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class CCategory;
class CMeldetext;
class CStandardText;
class CStandardTextListe;
class CTextgruppe;
class CTextliste;
class IUserInteraction;

// Control ids of the dialogs (they name the field that keeps the focus).
namespace textctl {
// Message text dialog 147
constexpr int DB = 1003, DW = 1006, Bit = 1013, Mode = 1016, ProtocolNumber = 1025, Text = 1008;
// Standard text dialog 163
constexpr int StdNumber = 1074, StdText = 1149;
// Text group dialog 141
constexpr int GroupPrefix = 1005, GroupId = 1004, GroupName = 1007;
// Text list dialog 140
constexpr int ListPrefix = 1144, ListId = 1145, ListDb = 1119, ListName = 1146;
}  // namespace textctl

// The outcome of a dialog's OK checks: either passed, or the field that keeps
// the focus with the message the user sees (display bytes) and its box style.
struct DialogCheck {
    bool ok = true;
    int control = 0;
    std::string message;
    unsigned style = 0;

    static DialogCheck Pass() { return {}; }
    static DialogCheck Fail(int control, std::string message, unsigned style);
    // A string-table message (error icon), formatted with its number argument.
    static DialogCheck FailId(int control, int messageId, long number = 0);
};

// The standard validation messages of the dialogs (display bytes).
std::string MsgNotAnInteger();                 // "Geben Sie bitte eine ganze Zahl ein."
std::string MsgIntegerRange(long lo, long hi); // "... zwischen %1 und %2 ein."
std::string MsgMaxChars(long n);               // "Geben Sie bitte nicht mehr als %1 Zeichen ein."

// An edit box's text as an integer: blanks around an optional sign and
// digits; anything else (or a value beyond 32 bits) is no integer.
bool ParseDialogInt(const std::string& text, long& value);

// Standard checks: integer in [lo, hi]; at most n characters.
DialogCheck CheckInt(int control, const std::string& text, long lo, long hi, long& value);
DialogCheck CheckIntegerOnly(int control, const std::string& text, long& value);
DialogCheck CheckMaxChars(int control, const std::string& text, size_t n);

// ---- message text (dialog 147) ---------------------------------------------

constexpr int kProtocolModeCount = 6;
// Items of the protocol mode box, in this order.
const std::vector<std::string>& ProtocolModeItems();

// Mode index from the stored protocol number and mode: mode M > 0 gives
// M + 1, M = 0 gives 0 without and 1 ("BA0") with a protocol number. A mode
// the box has no item for (5 to 7, only from foreign files) gives -1.
int ProtocolModeIndex(uint8_t number, uint8_t mode);
// Whether the protocol number field is editable for a mode index.
bool ProtocolNumberEnabled(int modeIndex);
// The protocol number field after the mode changed from a field that was
// (wasEnabled) editable with text current: "0", "31", "1" or unchanged.
std::string ProtocolNumberAfterModeChange(int modeIndex, bool wasEnabled, const std::string& current);

// What dialog 147 shows when it opens.
struct MeldetextForm {
    std::string db, dw, bit, protocolNumber;
    int modeIndex = 0;
    std::string text;  // display character set, spaces as spaces
};
MeldetextForm MeldetextFormFrom(const CMeldetext& text, const CTextliste* list);

// The OK checks of dialog 147 in their order; on success the values to store
// are in out (protocol number and mode from the index, text in the device
// character set). maxDw is "MAX DW Number".
DialogCheck CheckMeldetextForm(const MeldetextForm& form, const CTextliste* list, const CMeldetext* self,
                               unsigned maxDw, CMeldetext& out);
// Stores the checked values in the text and tells its list.
void ApplyMeldetext(CMeldetext& text, const CMeldetext& values, CTextliste* list);

// ---- standard text (dialog 163) --------------------------------------------

// Number of a new entry: the selected entry's number + 1, or the last
// number + 1 (1 in an empty list) when nothing is selected.
int NewStandardTextNumber(const CStandardTextListe& list, int selectedRow);
// Checks number (1..255), length (75) and the "@" (62091); deviceText out.
DialogCheck CheckStandardTextForm(const std::string& number, const std::string& displayText, std::string& deviceText);

// ---- text group (dialog 141) and text list (dialog 140) ----------------------

struct TextgruppeForm {
    std::string prefix = "T";
    std::string identifier;  // as typed
    std::string name;        // display character set
};
TextgruppeForm TextgruppeFormFrom(const CTextgruppe& group);
// Checks 1 to 5 (limits, 62092, 62009, 62008 against the other groups of the category).
DialogCheck CheckTextgruppeForm(const TextgruppeForm& form, const CTextgruppe& group, const CCategory* category);

struct TextlisteForm {
    std::string prefix = "N";
    std::string identifier;
    std::string db;
    std::string name;
};
TextlisteForm TextlisteFormFrom(const CTextliste& list);
// Checks 1 to 4 (limits and DB, 62092, 62009, 62008 against the other lists of the group).
DialogCheck CheckTextlisteForm(const TextlisteForm& form, const CTextliste& list, const CTextgruppe* group, long& db);

// Picture references of text groups and lists. The pictures plug in the
// replacement here; until they do, no picture refers to anything.
//   group only (list empty): every link to oldGroup takes newGroup;
//   with lists: every link to group/oldList takes newList.
using TextReferenceRenamer = std::function<void(CCategory& pictures, const std::string& oldGroupId,
                                                const std::string& newGroupId, const std::string& oldListId,
                                                const std::string& newListId)>;
void SetTextReferenceRenamer(TextReferenceRenamer renamer);

// The identifier change of a group (listId empty) or list as the dialogs run
// it: search the pictures, show the where-used dialog, ask whether to replace
// the identifier everywhere and do so. False when the dialog must stay open
// (Abbrechen in the where-used dialog, or the pictures could not be loaded).
bool RunIdentifierChange(CTextgruppe& group, CTextliste* list, const std::string& newIdentifier, IUserInteraction& ui);

// OK of the text group dialog after the checks: identifier change, then the
// name and identifier are stored and the group is saved under its new name.
// False (dialog stays open) when the change was cancelled or saving failed
// (62042 reported).
bool ApplyTextgruppeForm(CTextgruppe& group, const TextgruppeForm& form, bool isNew, IUserInteraction& ui);
// OK of the text list dialog after the checks. False when the identifier
// change was cancelled.
bool ApplyTextlisteForm(CTextliste& list, CTextgruppe* group, const TextlisteForm& form, long db, bool isNew,
                        IUserInteraction& ui);
