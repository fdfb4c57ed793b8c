#pragma once
#include <memory>
#include <string>

#include "app/Settings.h"

class CProjekt;
class CNode;
class IUserInteraction;
class IClipboard;
class IProjectUi;

// What the node model needs to know about the device link without
// depending on it: whether it is open and whether it runs the 3964R
// procedure for an online picture configuration.
class ILinkState {
public:
    virtual ~ILinkState() = default;
    virtual bool IsLinkOpen() const = 0;
    virtual bool IsLink3964R() const = 0;
};

// The application object: directories, settings, the open project and the
// seams through which the core reaches the user, the clipboard and the link.
// The desktop, the command-line tool and the tests each set it up.
class CWinPX920App {
public:
    CWinPX920App();
    ~CWinPX920App();

    // Directories. exeDir ends with '/'; installRoot is exeDir without a
    // final "bin/" (ignoring case) or empty.
    void SetExecutableDir(const std::string& exeDir);
    const std::string& ExeDir() const { return m_exeDir; }
    const std::string& InstallRoot() const { return m_installRoot; }
    std::string TemplateDir() const;  // installRoot + "920/"
    std::string HelpDir() const;      // installRoot + "HLP/", or "HLP/" below exeDir when the root is empty

    CSettings& Settings() { return m_settings; }
    const CSettings& Settings() const { return m_settings; }
    bool IsOnline() const { return m_settings.online; }
    bool IsCyrillic() const { return m_settings.cyrillic; }

    // Seams (never null: defaults answer silently / hold nothing).
    IUserInteraction& Ui() const { return *m_ui; }
    void SetUi(IUserInteraction* ui);
    IClipboard& Clipboard() const { return *m_clipboard; }
    void SetClipboard(IClipboard* clipboard);
    IProjectUi* ProjectUi() const { return m_projectUi; }
    void SetProjectUi(IProjectUi* ui) { m_projectUi = ui; }

    const ILinkState* LinkState() const { return m_linkState; }
    void SetLinkState(const ILinkState* state) { m_linkState = state; }
    bool IsLinkOpen() const { return m_linkState && m_linkState->IsLinkOpen(); }
    bool IsLink3964R() const { return m_linkState && m_linkState->IsLink3964R(); }

    // The open project (owned).
    CProjekt* Project() const { return m_project.get(); }
    void SetProject(std::unique_ptr<CProjekt> project);
    std::unique_ptr<CProjekt> TakeProject();

    bool m_nameChanged = false;

private:
    std::string m_exeDir;
    std::string m_installRoot;
    CSettings m_settings;
    std::unique_ptr<IUserInteraction> m_defaultUi;
    std::unique_ptr<IClipboard> m_defaultClipboard;
    IUserInteraction* m_ui;
    IClipboard* m_clipboard;
    IProjectUi* m_projectUi = nullptr;
    const ILinkState* m_linkState = nullptr;
    std::unique_ptr<CProjekt> m_project;
};

// The one application object.
CWinPX920App& App();
