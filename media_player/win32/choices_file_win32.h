#pragma once
// The choices the user made for each item (ItemChoices), kept in the control's own file under
// the user's application data folder, "VexoMedia\choices.txt". Reading is a small file's read;
// writing runs on a thread of its own, one at a time, the latest content last.
#include <string>

#include "media_player/core/remembered_choices.h"

// The choices kept for the item (its address or path), or the usual ones.
ItemChoices LoadItemChoices(const std::wstring& item);
void SaveItemChoices(const std::wstring& item, const ItemChoices& choices);
