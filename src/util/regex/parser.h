// Pattern text to syntax tree. Iterative: open groups live on a heap stack,
// so the pattern's nesting never deepens the call stack.
#pragma once

#include <string_view>

#include "util/regex/ast.h"
#include "util/regex/program.h"

namespace velmora::regex {

CompileError parse(std::u16string_view pattern, const Options& options, Ast& out);

}  // namespace velmora::regex
