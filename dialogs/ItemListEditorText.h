// The list editor's rules that need no window: how a dropped file becomes an
// item and where a dragged row lands.
#pragma once
#include <string>
#include <string_view>

#include "core/store/LaunchList.h"

// True when the path's extension, in lower case, is ".lnk".
bool IsShortcutPath(std::string_view path, LeadBytePredicate isLead = IsCp932LeadByte);

// The name of an item made from a dropped file: the dropped file's name
// without its extension (for a shortcut, the shortcut's own name).
std::string DroppedItemName(std::string_view droppedPath, LeadBytePredicate isLead = IsCp932LeadByte);

// The row a dragged row is dropped on: the row under the point, or the last
// row when the point is below the rows. -1 when there are no rows.
int DragTargetRow(int rowUnderPoint, int rowCount);
