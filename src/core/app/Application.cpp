#include "app/Application.h"

#include "model/Clipboard.h"
#include "project/Projekt.h"
#include "util/Strings.h"
#include "util/UserInteraction.h"

CWinPX920App::CWinPX920App()
    : m_defaultUi(std::make_unique<CSilentUserInteraction>()),
      m_defaultClipboard(std::make_unique<CMemoryClipboard>()),
      m_ui(m_defaultUi.get()),
      m_clipboard(m_defaultClipboard.get())
{
}

CWinPX920App::~CWinPX920App() = default;

void CWinPX920App::SetExecutableDir(const std::string& exeDirIn)
{
    m_exeDir = exeDirIn;
    if (!m_exeDir.empty() && m_exeDir.back() != '/') m_exeDir += '/';
    m_installRoot.clear();
    // Only a directory named "bin" counts; "/cabin/" ends with the same letters
    // but has no installation above it.
    if (m_exeDir.size() > 4 && IEndsWith(m_exeDir, "/bin/"))
        m_installRoot = m_exeDir.substr(0, m_exeDir.size() - 4);
}

std::string CWinPX920App::TemplateDir() const { return m_installRoot + "920/"; }

std::string CWinPX920App::HelpDir() const
{
    return m_installRoot.empty() ? m_exeDir + "HLP/" : m_installRoot + "HLP/";
}

void CWinPX920App::SetUi(IUserInteraction* ui) { m_ui = ui ? ui : m_defaultUi.get(); }

void CWinPX920App::SetClipboard(IClipboard* clipboard)
{
    m_clipboard = clipboard ? clipboard : m_defaultClipboard.get();
}

void CWinPX920App::SetProject(std::unique_ptr<CProjekt> project) { m_project = std::move(project); }

std::unique_ptr<CProjekt> CWinPX920App::TakeProject() { return std::move(m_project); }

CWinPX920App& App()
{
    static CWinPX920App app;
    return app;
}
