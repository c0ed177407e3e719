#include "platform/DialogFlag.h"

namespace {
constinit bool* g_flag = nullptr;
}

void InstallDialogFlag(bool* flag) noexcept { g_flag = flag; }

bool DialogFlagSet() noexcept { return g_flag && *g_flag; }

DialogShownScope::DialogShownScope() noexcept : flag_(g_flag), was_(g_flag ? *g_flag : false)
{
    if (flag_)
        *flag_ = true;
}

DialogShownScope::~DialogShownScope()
{
    if (flag_)
        *flag_ = was_;
}
