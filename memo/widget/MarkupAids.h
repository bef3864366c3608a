// The state of the control's HTML typing aids (SyntaxMemoAids.cpp): the auto-closer, the
// completion list and what it completes, and the owner's sources of variables and include files.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "memo/engine/complete/AutoClose.h"
#include "memo/engine/complete/Completion.h"
#include "memo/engine/complete/WebData.h"

namespace velora::memo {

class CompletionPopup;

struct MarkupAidsState {
  bool enabled = false;
  bool ctrlSpace = true;  // Ctrl+Space opens the list (besides Ctrl+Shift+Space)
  AutoCloser closer;
  CompletionPopup* popup = nullptr;  // a child of the viewport, made on first use
  CompletionRequest request;         // what the open list completes
  std::function<std::vector<std::string>()> variables;
  std::function<std::vector<std::string>()> includes;
};

// The web data the program ships (completion/web-data.txt beside the program, or the file given
// to TSyntaxMemo::setWebDataFile), read once and shared by every control.
const WebData& SharedWebData();

}  // namespace velora::memo
