#pragma once
#include <string>

// Message-box styles and answers, numbered as the dialogs of the original
// platform number them so that callers can pass them straight through.
namespace mb {
constexpr unsigned OK = 0x00;
constexpr unsigned OKCANCEL = 0x01;
constexpr unsigned YESNOCANCEL = 0x03;
constexpr unsigned YESNO = 0x04;
constexpr unsigned ICONERROR = 0x10;
constexpr unsigned ICONQUESTION = 0x20;
constexpr unsigned ICONWARNING = 0x30;
constexpr unsigned ICONINFORMATION = 0x40;
constexpr unsigned TYPEMASK = 0x0F;
constexpr unsigned ICONMASK = 0xF0;
}  // namespace mb

enum DialogAnswer { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };

// Everything the core needs from the person in front of the program. The
// desktop answers with real dialogs, tests with scripted answers, the CLI on
// the terminal. Texts are display bytes (Windows-1252, or 1251 when the
// Cyrillic character set is active).
class IUserInteraction {
public:
    virtual ~IUserInteraction() = default;
    // Shows text in a modal message box and returns the answer (IDOK, IDYES, ...).
    virtual int MessageBox(const std::string& text, unsigned style) = 0;
};

// Answers every question with a fixed reply and keeps the last text; used
// where nobody can be asked (probes, batch tools).
class CSilentUserInteraction : public IUserInteraction {
public:
    explicit CSilentUserInteraction(int answer = IDOK) : m_answer(answer) {}
    int MessageBox(const std::string& text, unsigned) override {
        m_lastText = text;
        return m_answer;
    }
    std::string m_lastText;
    int m_answer;
};
