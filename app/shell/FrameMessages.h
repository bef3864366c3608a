// Main-window message numbers the frame answers itself.
#pragma once

namespace vlr {

enum MainMessage : unsigned {
    WM_ERASEBKGND = 20,
    MSG_EDITOR_COMMANDS = 2321,
    MSG_RELOAD_PREFERENCES = 3038,
    MSG_LOAD_SWATCHES = 3082,
    MSG_CLOSED_ALL = 3083,
    MSG_EDITOR_FONT = 3084,
};

}  // namespace vlr
