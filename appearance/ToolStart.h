// Starting a user tool: what the Tools menu and the tools dialog's Test do
// with a tool's text.
#pragma once

#include <string>

namespace vlr {

// Starts a tool: a web address or a document through the desktop, an
// executable file as a program of its own, and any other text as a program
// (by path or on the search path) with its arguments, never through a shell.
// False when it cannot be started; a file that does not exist is not handed on.
bool StartTool(const std::string& target);

}  // namespace vlr
