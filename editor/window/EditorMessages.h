// Numbers of the messages an editor window answers and of those it sends to the main window.
#pragma once

namespace vlr {

enum EditorMessage : unsigned {
    EM_INSERT_MARKUP = 2029,
    EM_SAVE_AS = 2997,
    EM_SAVE = 2998,
    EM_HINT = 3030,
    EM_VALIDATE = 3036,
    EM_PATH_PROCESSED = 3040,
    EM_COPY = 3043,
    EM_CUT = 3044,
    EM_PASTE = 3045,
    EM_SELECT_ALL = 3046,
    EM_UNINDENT = 3047,
    EM_INDENT = 3048,
    EM_DELETE = 3049,
    EM_UNDO = 3050,
    EM_REDO = 3051,
    EM_FIND = 3052,
    EM_FIND_NEXT = 3053,
    EM_REPLACE = 3054,
    EM_SHOW_ALL = 3055,
    EM_PRINT = 3068,
    EM_CHANGE_CASE = 3069,
    EM_OPTIONS = 3070,
    EM_GET_TEXT = 3071,
    EM_GET_SEL_TEXT = 3072,
    EM_GET_CARET = 3073,
    EM_SET_TEXT = 3074,
    EM_SET_SEL_TEXT = 3075,
    EM_SET_SEL_START = 3076,
    EM_SET_SEL_LENGTH = 3077,
    EM_GO_TO_LINE = 3078,
    EM_INSERT_IMAGE = 3079,
    EM_GET_TEXT_SIZE = 3080,
    EM_GET_SEL_TEXT_SIZE = 3081,
    EM_READ_FONT = 3084,
};

// Main-window messages an editor window sends.
enum EditorReport : unsigned {
    MW_EDITOR_MOD_STATE = 2112,
    MW_DO_EDIT_BUTTONS = 3024,
    MW_FIND_NEXT_STATE = 3056,
    MW_NEW_FROM_TEMPLATE = 3063,
    MW_ADD_TO_REPOSITORY = 3065,
    MW_SEND_THE_STRING = 2924,
    MW_PROJECT_FILE = 3085,
};

// The name of a document that has no file yet.
inline constexpr const char* kUntitled = "Untitled Web Page";

}  // namespace vlr
