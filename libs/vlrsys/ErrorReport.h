// The error report: what the program tells the system module about an
// unhandled exception, and the text form shown, copied and written to stderr.
#pragma once

#include "libs/EntryPoints.h"

#include <string>

namespace vlr::sys {

struct ErrorReport {
    std::string methodName;       // "TFrmMainVLR.FormResize"
    std::string exceptionClass;   // "EConvertError"
    std::string message;
    std::string fileVersion;
    std::string fileName;
    std::string preferencesPath;
    std::string time;             // local time of the report, "yyyy-MM-dd hh:mm:ss"
};

// Collects the report from the entry point's arguments; any of them may be
// nullptr. The time is taken now.
ErrorReport MakeErrorReport(const VlrExceptionInfo* exception, const char* preferencesPath,
                            const char* methodName, const char* fileVersion, const char* fileName);

// The report as lines of "Label: value", ending with a line break. An empty
// value is shown as "(none)"; the lines of a multi-line message are indented
// under the first.
std::string FormatErrorReport(const ErrorReport& report);

}  // namespace vlr::sys
