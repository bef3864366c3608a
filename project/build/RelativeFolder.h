// Where a project's source file lands in the built site: its folder relative
// to the source directory, which is also its folder under the output directory.
#pragma once

#include <string>
#include <string_view>

namespace vlr::build {

// The folder of fileDir relative to sourceDir, as "sub/dir": no leading or
// trailing "/", components joined by one "/". Both paths are normalised
// lexically first (repeated and trailing "/" and "." dropped, ".." taken back),
// so "/site/src/" and "/site/src" name the same folder.
//
// Empty when fileDir is the source directory itself, and also when it lies
// outside the source directory (or sourceDir is empty): such a file is built
// straight into the output directory, never into a folder above it.
std::string RelativeFolder(std::string_view sourceDir, std::string_view fileDir);

// A path normalised the same way, without touching the disk: repeated and
// trailing "/" and "." dropped, ".." taken back ("/a/./b/../c/" -> "/a/c").
std::string LexicallyNormal(std::string_view path);

}  // namespace vlr::build
