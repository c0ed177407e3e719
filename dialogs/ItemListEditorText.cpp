#include "dialogs/ItemListEditorText.h"

bool IsShortcutPath(std::string_view path, LeadBytePredicate isLead)
{
    const std::string name = FileNamePart(path, isLead);
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos)
        return false;
    std::string extension = name.substr(dot);
    for (char& c : extension)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return extension == ".lnk";
}

std::string DroppedItemName(std::string_view droppedPath, LeadBytePredicate isLead)
{
    return DerivedName(droppedPath, isLead);
}

int DragTargetRow(int rowUnderPoint, int rowCount)
{
    if (rowCount <= 0)
        return -1;
    if (rowUnderPoint < 0 || rowUnderPoint >= rowCount)
        return rowCount - 1;
    return rowUnderPoint;
}
