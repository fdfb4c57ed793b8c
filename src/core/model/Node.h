#pragma once
// The three bases every node of the project tree derives from.
#include "model/FileList.h"
#include "model/ListNode.h"
#include "model/NodeBase.h"
