#include "views/NodeCommands.h"

// Each kind of list that has dialogs of its own declares its registration
// function here and calls it below, one line per kind. Keep the lines short
// and independent so that parallel additions merge cleanly.
void RegisterProjectUiHandlers();  // the root's "Neue Liste anlegen" (views/NewListDialog.cpp)
void RegisterTextUiHandlers();     // text groups, lists, message texts, standard texts (texts/TextDialogs.h)
void RegisterTransferUiHandlers(); // module directory, load, read, delete, operator keyboard (transfer/TransferUi.cpp)

void RegisterUiHandlers()
{
    static bool done = false;
    if (done) return;
    done = true;
    RegisterProjectUiHandlers();
    RegisterTextUiHandlers();
    RegisterTransferUiHandlers();
}
