#include "project/ListKinds.h"

// Each list kind of the program adds its registration here.
void RegisterBuiltInListKinds()
{
    static bool done = false;
    if (done) return;
    done = true;
}
