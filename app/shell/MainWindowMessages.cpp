// The main-window messages the shell answers.
#include "app/shell/MainWindow.h"

#include "appearance/palette/ColorPicker.h"
#include "platform/Record.h"
#include "app/shell/StatusLine.h"

#include <QMdiArea>
#include <QMdiSubWindow>

namespace vlr {

LResult TFrmMainVLR::handleMessage(unsigned msg, WParam wParam, LParam lParam) {
    switch (msg) {
    case WM_ERASEBKGND:
        return 1;
    case MSG_EDITOR_COMMANDS: {
        enter("EditorCommands");
        RecordPtr r = AdoptRecord(lParam);
        UpdateEditorCommands(r && RecordText(r->first) == "true");
        return 0;
    }
    case MSG_SET_IMAGE: {
        enter("SetImage");
        RecordPtr r = AdoptRecord(lParam);
        SetImageEx(FirstText(r));
        return 0;
    }
    case MSG_RELOAD_PREFERENCES:
        enter("ReloadPreferences");
        ReloadPreferences();
        return 0;
    case MSG_LOAD_SWATCHES:
        enter("LoadSwatches");
        colorPicker_->loadDefaultPalette(appDir_);
        return 0;
    case MSG_CLOSED_ALL:
        enter("ClosedAll");
        UpdateEditorCommands(true);
        return 0;
    default: {
        LResult result = 0;
        if (HandleEditorMessage(msg, wParam, lParam, result))
            return result;
        if (HandleProjectMessage(msg, wParam, lParam, result))
            return result;
        if (extraMessages)
            return extraMessages(msg, lParam);
        return 0;
    }
    }
}

void TFrmMainVLR::ReloadPreferences() {
    lowerTags_ = Preferences(PreferencesPath()).LowerTags();
    for (QMdiSubWindow* w : mdi_->subWindowList()) {
        Handle h = w->widget() ? w->widget()->property("vlrHandle").value<Handle>() : 0;
        if (GetClassName(h) == "TFrmEditor")
            SendMessage(h, MSG_EDITOR_FONT, 0, 0);
    }
}

}  // namespace vlr
