#pragma once
#include <string>

class CErrorInfo;
class IUserInteraction;

// Creating a project: the checks and steps of the new-project dialog, usable
// without a window (the desktop dialog and "px920 new" share them).
struct NewProjectRequest {
    std::string name;
    std::string directory;
    bool newSystemDataList = true;  // "Systemdatenliste" ticked
    // Option lists to copy from the templates.
    bool service = false;      // CSER
    bool stepDiagnosis = false;  // CSKA
    bool trace8 = false;       // CTR8
    bool logging = false;      // CPRO
    bool coupling = false;     // CRKO
    bool creation = false;     // ERST
    bool userSymbols = false;  // ASYM
    bool fixedSymbols = false; // FSYM
    bool standardTexts = false;  // XTEX
};

// Directory corrections of the dialog: trailing '/' removed (the root keeps
// its one), made absolute. Returns the corrected directory.
std::string CorrectProjectDirectory(const std::string& directory);

// The checks of OK in their order. On failure err holds the message
// (62011, 62013 or 63229 with the existing project's name) and the result
// is false. On success dirOut is the directory with a trailing '/'.
bool CheckNewProject(const std::string& name, const std::string& directory, const std::string& installRoot,
                     std::string& dirOut, CErrorInfo& err);

// Steps after the user confirmed: directories, system data list, template
// copies. False when not even a system data list could be written (err set).
bool CreateNewProject(const NewProjectRequest& request, const std::string& checkedDir, const std::string& installRoot,
                      const std::string& extension, CErrorInfo& err);

// Template of a fixed base name in templateDir: the first match of base.*
// with the extension 920 or SYS (ignoring case); empty when missing.
std::string FindTemplate(const std::string& templateDir, const std::string& baseName);
// Copies a template and writes the new project name into its short header.
bool CopyTemplateWithName(const std::string& templateDir, const std::string& baseName, const std::string& projectDir,
                          const std::string& extension, const std::string& paddedName);
bool CopyTemplatePlain(const std::string& templateDir, const std::string& baseName, const std::string& projectDir,
                       const std::string& extension);
// Writes a default system data list with the project name.
bool CreateNewSystemDataList(const std::string& projectDir, const std::string& extension,
                             const std::string& paddedName, CErrorInfo& err);
