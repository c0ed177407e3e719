// Identifiers shared by vlcr.rc and the code that loads its resources.
#pragma once

// The launch menu's cursor while a row is dragged.
#define VLCR_DRAG_CURSOR 101
