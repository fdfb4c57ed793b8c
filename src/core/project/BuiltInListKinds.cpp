#include "project/ListKinds.h"

#include "eprom/OptionsListe.h"
#include "model/NodeTypes.h"
#include "sysdata/SystemdatenListe.h"
#include "texts/TextsRegistration.h"

// Each list kind of the program adds its registration here.
void RegisterBuiltInListKinds()
{
    static bool done = false;
    if (done) return;
    done = true;
    RegisterCategoryFactory(NT_CAT_OPTIONEN, [](CListNode* parent, const std::string& fileName) -> CFileList* {
        return new COptionsListe(parent, fileName);
    });
    RegisterTextListKinds();
    RegisterFixedListFactory(NT_SYSDATA, "SDAT", [](CListNode* p, const std::string& f) -> CFileList* { return new CSystemdatenListe(p, f); });
}
