// Building and formatting the error report.
#include "libs/vlrsys/ErrorReport.h"

#include "libs/common/ModuleSupport.h"

#include <QDateTime>


namespace vlr::sys {
namespace {

constexpr std::size_t kLabelWidth = 13;

void AppendLine(std::string& out, const char* label, const std::string& value) {
    std::string head = std::string(label) + ":";
    head.resize(kLabelWidth, ' ');
    out += head;
    if (value.empty()) {
        out += "(none)\n";
        return;
    }
    const std::string indent(kLabelWidth, ' ');
    for (char c : value) {
        if (c == '\r')
            continue;
        out += c;
        if (c == '\n')
            out += indent;
    }
    out += '\n';
}

}  // namespace

ErrorReport MakeErrorReport(const VlrExceptionInfo* exception, const char* preferencesPath,
                            const char* methodName, const char* fileVersion, const char* fileName) {
    using vlr::modules::TextFrom;
    ErrorReport report;
    report.methodName = TextFrom(methodName);
    if (exception) {
        report.exceptionClass = TextFrom(exception->className);
        report.message = TextFrom(exception->message);
    }
    report.fileVersion = TextFrom(fileVersion);
    report.fileName = TextFrom(fileName);
    report.preferencesPath = TextFrom(preferencesPath);
    report.time = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")).toStdString();
    return report;
}

std::string FormatErrorReport(const ErrorReport& report) {
    std::string out = "Velora Error Report\n";
    AppendLine(out, "Time", report.time);
    AppendLine(out, "Method", report.methodName);
    AppendLine(out, "Exception", report.exceptionClass);
    AppendLine(out, "Message", report.message);
    AppendLine(out, "Version", report.fileVersion);
    AppendLine(out, "File name", report.fileName);
    AppendLine(out, "Preferences", report.preferencesPath);
    return out;
}

}  // namespace vlr::sys
