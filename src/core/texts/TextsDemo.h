#pragma once

class CProjekt;

// Writes the demo plant's text groups (inflow, aeration, sludge treatment)
// and its standard text list into the project directory of a loaded root
// and adds them to the tree. Texts embed standard texts in the "@" form.
void AddDemoTexts(CProjekt& root);
