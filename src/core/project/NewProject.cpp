#include "project/NewProject.h"

#include <climits>
#include <cstdlib>
#include <unistd.h>

#include "listfile/ByteStream.h"
#include "listfile/ListHeader.h"
#include "project/ListKinds.h"
#include "sysdata/SystemdatenListe.h"
#include "project/Projekt.h"
#include "util/ErrorInfo.h"
#include "util/FileException.h"
#include "util/FileSystem.h"
#include "util/StringTable.h"
#include "util/Strings.h"

std::string CorrectProjectDirectory(const std::string& directoryIn)
{
    std::string dir = Trim(directoryIn);
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    if (!dir.empty() && dir[0] != '/') {
        char cwd[PATH_MAX];
        if (::getcwd(cwd, sizeof cwd)) {
            std::string abs = fsx::WithSlash(cwd) + dir;
            if (abs.size() <= 512) dir = abs;
        }
    }
    return dir;
}

bool CheckNewProject(const std::string& nameIn, const std::string& directory, const std::string& installRoot,
                     std::string& dirOut, CErrorInfo& err)
{
    err.Clear();
    std::string name = TrimRight(nameIn);
    if (name.empty()) {
        err.Set(IDS_NO_PROJECT_NAME);
        return false;
    }
    std::string dir = CorrectProjectDirectory(directory);
    if (dir.empty()) {
        err.Set(IDS_NO_PROJECT_NAME);
        return false;
    }
    if (!installRoot.empty() && (IStartsWith(dir, installRoot) || IEquals(fsx::WithSlash(dir), installRoot))) {
        err.Set(IDS_PROJECT_IN_INSTALL_DIR);
        return false;
    }
    dir = fsx::WithSlash(dir);
    std::string existing;
    if (TestProject(dir, existing)) {
        err.Set(63229, existing);
        return false;
    }
    dirOut = dir;
    return true;
}

std::string FindTemplate(const std::string& templateDir, const std::string& baseName)
{
    for (const fsx::DirEntry& e : fsx::FindFiles(templateDir, baseName + ".*")) {
        if (e.isDirectory) continue;
        std::string ext = e.name.substr(baseName.size() + 1);
        // Only the first match counts, as a directory search hands it out.
        if (IEquals(ext, "920") || IEquals(ext, "SYS")) return fsx::JoinPath(templateDir, e.name);
        return {};
    }
    return {};
}

bool CopyTemplateWithName(const std::string& templateDir, const std::string& baseName, const std::string& projectDir,
                          const std::string& extension, const std::string& paddedName)
{
    std::string source = FindTemplate(templateDir, baseName);
    if (source.empty()) return false;
    std::vector<uint8_t> data;
    if (!fsx::ReadWholeFile(source, data)) return false;
    try {
        CByteReader in(data);
        ListHeader h;
        h.Read(in);
        size_t oldNameLength = h.project.size();
        if (h.length < 4 + oldNameLength) return false;
        size_t rest = h.length - 4 - oldNameLength;
        CByteWriter out;
        ListHeader nh;
        nh.type = h.type;
        long newLength = static_cast<long>(h.length) - static_cast<long>(oldNameLength) + static_cast<long>(paddedName.size());
        if (newLength > 65535) return false;
        nh.length = static_cast<uint16_t>(newLength);
        nh.project = paddedName;
        nh.Write(out);
        std::vector<uint8_t> body(rest);
        in.ReadBytes(body.data(), rest);
        out.WriteBytes(body);
        std::string target = fsx::ResolvePath(projectDir, baseName + "." + extension);
        return fsx::WriteFileAtomic(target, out.Data().data(), out.Size());
    } catch (const CFileException&) {
        return false;
    }
}

bool CopyTemplatePlain(const std::string& templateDir, const std::string& baseName, const std::string& projectDir,
                       const std::string& extension)
{
    std::string source = FindTemplate(templateDir, baseName);
    if (source.empty()) return false;
    return fsx::CopyFile(source, fsx::ResolvePath(projectDir, baseName + "." + extension));
}

bool CreateNewSystemDataList(const std::string& projectDir, const std::string& extension, const std::string& paddedName,
                             CErrorInfo& err)
{
    CProjekt root(projectDir, extension);
    root.m_name = paddedName;
    auto* sdat = new CSystemdatenListe(&root, root.MakeFileName("SDAT"));
    root.AddChild(sdat);
    sdat->SetDefaults();
    sdat->m_projectName = paddedName;
    if (!sdat->Save()) {
        err.Set(IDS_FILE_ACCESS);
        return false;
    }
    return true;
}

bool CreateNewProject(const NewProjectRequest& r, const std::string& dir, const std::string& installRoot,
                      const std::string& extension, CErrorInfo& err)
{
    err.Clear();
    fsx::MakeDirectories(dir);
    std::string padded = PadRight(TrimRight(r.name), 32);
    std::string templates = installRoot.empty() ? std::string() : fsx::WithSlash(installRoot) + "920/";

    bool sdatDone = false;
    if (!r.newSystemDataList && !templates.empty())
        sdatDone = CopyTemplateWithName(templates, "SDAT", dir, extension, padded);
    if (!sdatDone && !CreateNewSystemDataList(dir, extension, padded, err)) return false;

    if (!templates.empty()) {
        if (r.userSymbols) CopyTemplateWithName(templates, "ASYM", dir, extension, padded);
        if (r.standardTexts) CopyTemplateWithName(templates, "XTEX", dir, extension, padded);
        struct { bool wanted; const char* base; } plain[] = {
            {r.fixedSymbols, "FSYM"}, {r.stepDiagnosis, "CSKA"}, {r.logging, "CPRO"}, {r.service, "CSER"},
            {r.trace8, "CTR8"},       {r.coupling, "CRKO"},      {r.creation, "ERST"},
        };
        for (auto& p : plain)
            if (p.wanted) CopyTemplatePlain(templates, p.base, dir, extension);
    }
    return true;
}
