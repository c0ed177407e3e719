#include "core/store/Messages.h"

std::string FillIn(const char* format, const std::string& argument)
{
    std::string out(format);
    const std::size_t at = out.find("%s");
    if (at != std::string::npos)
        out.replace(at, 2, argument);
    return out;
}
