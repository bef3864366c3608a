// Helpers of the scheme compiler tests: compile a script text, or catch the error it raises.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "memo/engine/scheme/SchemeCompiler.h"

namespace vlr::test {

inline TSchemeTables Compile(const std::string& text) { return CompileSchemeText(text); }

// The error compiling `text` raises; fails the test when it compiles.
inline ESchemeCompileError CompileError(const std::string& text) {
  try {
    (void)CompileSchemeText(text);
  } catch (const ESchemeCompileError& e) {
    return e;
  }
  ADD_FAILURE() << "compiled without error:\n" << text;
  return ESchemeCompileError(ESchemeError(TSchemeErrorId::None, "", 0, 0), "");
}

// "line:column text" of the error, for compact expectations.
inline std::string Where(const ESchemeError& e) {
  return std::to_string(e.Line()) + ":" + std::to_string(e.Column()) + " " + e.Text();
}

inline TStateSet States(std::initializer_list<int> states) {
  TStateSet s;
  for (int n : states) s.set(static_cast<std::size_t>(n));
  return s;
}

}  // namespace vlr::test
