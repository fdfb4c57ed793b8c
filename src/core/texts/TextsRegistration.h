#pragma once

// Registers text groups with the "Textgruppen" category and the standard
// text list XTEX with the project root.
void RegisterTextListKinds();
