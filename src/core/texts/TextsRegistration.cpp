#include "texts/TextsRegistration.h"

#include "model/NodeTypes.h"
#include "project/ListKinds.h"
#include "texts/StandardTextListe.h"
#include "texts/Textgruppe.h"

void RegisterTextListKinds()
{
    RegisterCategoryFactory(NT_CAT_TEXTGRUPPEN, [](CListNode* parent, const std::string& fileName) -> CFileList* {
        return new CTextgruppe(parent, fileName);
    });
    RegisterFixedListFactory(NT_STANDARD_TEXTS, "XTEX", [](CListNode* parent, const std::string& fileName) -> CFileList* {
        return new CStandardTextListe(parent, fileName);
    });
}
