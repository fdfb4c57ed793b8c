#pragma once
// The parameter dialogs of message texts, standard texts, text groups and text lists.
#include "texts/MeldetextDlg.h"
#include "texts/StandardTextDlg.h"
#include "texts/TextgruppeDlg.h"
#include "texts/TextlisteDlg.h"
#include "texts/UpDownEdit.h"
