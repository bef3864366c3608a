// The main window's message dispatch: the frame's own messages, then the unit
// that claimed the number. No exception leaves a handler: the senders are
// editor windows, outside modules and Qt's event loop.
#include "app/shell/MainWindow.h"

#include "appearance/palette/ColorPicker.h"
#include "platform/Record.h"

#include <QMdiArea>
#include <QMdiSubWindow>

namespace vlr {

LResult TFrmMainVLR::handleMessage(unsigned msg, WParam wParam, LParam lParam) {
    LResult result = 0;
    try {
        bool handled = false;
        result = FrameMessage(msg, lParam, handled);
        if (!handled)
            if (FeatureUnit* unit = dispatcher_.UnitFor(msg))
                result = unit->HandleMessage(msg, wParam, lParam);
    } catch (...) {
        result = 0;
        HandleExceptionEx(this, std::current_exception());
    }
    return result;
}

LResult TFrmMainVLR::FrameMessage(unsigned msg, LParam lParam, bool& handled) {
    handled = true;
    switch (msg) {
    case WM_ERASEBKGND:
        return 1;
    case MSG_EDITOR_COMMANDS: {
        Enter("EditorCommands");
        RecordPtr r = AdoptRecord(lParam);
        UpdateEditorCommands(r && RecordText(r->first) == "true");
        return 0;
    }
    case MSG_RELOAD_PREFERENCES:
        Enter("ReadNewPref");
        ReadNewPref();
        return 0;
    case MSG_LOAD_SWATCHES:
        Enter("LoadSwatches");
        colorPicker_->loadDefaultPalette(appDir_);
        return 0;
    case MSG_CLOSED_ALL:
        Enter("ClosedAll");
        UpdateEditorCommands(true);
        return 0;
    default:
        handled = false;
        return 0;
    }
}

void TFrmMainVLR::ReadNewPref() {
    lowerTags_ = Preferences(PreferencesPath()).LowerTags();
    for (QMdiSubWindow* w : mdi_->subWindowList()) {
        Handle h = w->widget() ? w->widget()->property("vlrHandle").value<Handle>() : 0;
        if (GetClassName(h) == "TFrmEditor")
            SendMessage(h, MSG_EDITOR_FONT, 0, 0);
    }
}

}  // namespace vlr
