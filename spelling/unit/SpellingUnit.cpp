#include "spelling/unit/SpellingUnit.h"

#include "app/shell/CommandGate.h"
#include "app/units/ShellServices.h"
#include "app/units/UnitCommands.h"
#include "editor/window/FrmEditor.h"
#include "platform/Window.h"

namespace vlr {

TSpellingUnit::TSpellingUnit(ShellServices& shell) : shell_(shell) {}

void TSpellingUnit::ConnectCommands() {
    ConnectCommand(shell_, this, "CheckSpelling1", "CheckSpelling1Click", [this] { CheckSpelling1Click(); });
    shell_.Gate().makeAvailable(CommandGroup::Spelling);
    shell_.Gate().makeAvailable(CommandGroup::WebOpen);
}

void TSpellingUnit::CheckSpelling1Click() {
    const Handle child = shell_.ActiveChildHandle();
    if (child == 0)
        return;
    if (auto* editor = dynamic_cast<TFrmEditor*>(WindowHandler(child)))
        editor->CheckSpelling1Click();
}

}  // namespace vlr
