// Loading the program's modules by the names the program uses for them.
// "vlrcore.dll" loads AppDir + "vlrcore.so"; a name containing "/" is a path
// and is taken as it is.
#pragma once

#include <string>

namespace vlr {

using LibraryHandle = void*;

std::string LibraryFileFor(const std::string& name);
LibraryHandle LoadLibrary(const std::string& name);
void* GetProcAddress(LibraryHandle library, const std::string& entryPoint);
void FreeLibrary(LibraryHandle library);
// The loader's explanation of the last failure in this thread.
std::string LastLibraryError();

}  // namespace vlr
