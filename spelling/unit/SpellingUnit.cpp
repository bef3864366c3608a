#include "spelling/unit/SpellingUnit.h"

#include "app/units/CommandGate.h"
#include "app/units/ShellServices.h"
#include "app/units/UnitCommands.h"
#include "app/units/EditorWindows.h"
#include "platform/Window.h"

namespace vlr {

TSpellingUnit::TSpellingUnit(ShellServices& shell) : shell_(shell) {}

void TSpellingUnit::ConnectCommands() {
    ConnectCommand(shell_, this, "CheckSpelling1", "CheckSpelling1Click", [this] { CheckSpelling1Click(); });
    shell_.Gate().makeAvailable(CommandGroup::Spelling);
    shell_.Gate().makeAvailable(CommandGroup::WebOpen);
}

void TSpellingUnit::CheckSpelling1Click() {
    shell_.Editors().CheckActiveSpelling();
}

}  // namespace vlr
