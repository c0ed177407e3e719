#pragma once

// The item list editor, shown modally; it saves the list itself on close.
void RunItemListEditor();
