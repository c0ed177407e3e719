#include "platform/ShellLaunch.h"

#include <shellapi.h>

ShellExecuteFunction ShellLaunch = ShellExecuteA;
