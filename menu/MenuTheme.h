// Which palette the menus paint with now: the user's "MenuTheme" choice, and
// in automatic the taskbar's theme as last heard of.
#pragma once
#include "menu/MenuPalette.h"

const MenuPalette& ActiveMenuPalette();
