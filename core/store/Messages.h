#pragma once
#include <string>

// A message text with its one "%s" replaced by `argument`.
std::string FillIn(const char* format, const std::string& argument);
