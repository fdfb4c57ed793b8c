#include "project/ListKinds.h"

#include "eprom/OptionsListe.h"
#include "eprom/VerbundListe.h"
#include "model/NodeTypes.h"

// Each list kind of the program adds its registration here.
void RegisterBuiltInListKinds()
{
    static bool done = false;
    if (done) return;
    done = true;
    RegisterCategoryFactory(NT_CAT_OPTIONEN, [](CListNode* parent, const std::string& fileName) -> CFileList* {
        return new COptionsListe(parent, fileName);
    });
    RegisterCompositeFactory([](CListNode* root, int index) -> CFileList* { return new CVerbundListe(root, index); });
}
