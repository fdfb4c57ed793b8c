#include "transfer/DirectoryRules.h"

#include "transfer/ModuleDirectory.h"

namespace moddir {

const FixedDesignationEntry kFixedDesignations[9] = {{"ASYM", 63256}, {"XTEX", 63257}, {"SDAT", 63258},
                                                    {"ERST", 63217}, {"CSKA", 63218}, {"CPRO", 63219},
                                                    {"CSER", 63220}, {"CTR8", 63221}, {"CRKO", 63222}};

const SectionEntry kSections[5] = {{"B*", 63349}, {"T*", 63350}, {"G*", 63351}, {"P*", 63352}, {"C*", 63353}};

int SumLengths(const CListNode& node)
{
    int total = 0;
    for (CNode* c : node.m_children) {
        if (c->GetType() == NT_DEVICE_LIST)
            total += static_cast<CModulListe*>(c)->m_fileLength;
        else if (c->GetType() == NT_DEVICE_FOLDER)
            total += static_cast<CVerzeichnisAbschnitt*>(c)->TotalLength();
    }
    return total;
}

int DirectoryRule(int command, int selectedCount, bool isFolder)
{
    switch (command) {
    case CMD_OPEN:
        return isFolder ? 0 : selectedCount == 1;
    case CMD_PROPERTIES:
        return selectedCount == 1;
    case CMD_CLOSE:
    case CMD_EPROM:
    case CMD_CLOSE_PROJECT:
        return 1;
    case CMD_PAKDAT:
    case CMD_ROMGEN:
        return selectedCount > 0;
    case CMD_NEW:
    case CMD_SAVE:
    case CMD_DELETE:
    case CMD_PRINT:
    case CMD_COPY:
    case CMD_PASTE:
    case CMD_CUT:
        return 0;
    default:
        return -1;
    }
}

}  // namespace moddir
