// The folder that holds the program file.
#pragma once

#include <string>

namespace velmora::app {

// Without a trailing separator ("C:" for a drive's root folder); empty when
// the program's path cannot be read.
std::wstring programFolder();

}  // namespace velmora::app
