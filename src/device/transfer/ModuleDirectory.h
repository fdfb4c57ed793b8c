#pragma once
// The module's directory as nodes: the directory, its sections and the lists in the module.
#include "transfer/Inhaltsverzeichnis.h"
#include "transfer/ModulListe.h"
#include "transfer/VerzeichnisAbschnitt.h"
