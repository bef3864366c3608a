// The command-line site check.
#include "app/cli/CommandLineCheck.h"

#include "app/cli/CommandLine.h"
#include "app/cli/ExitCodes.h"
#include "app/cli/TerminalText.h"
#include "project/build/SystemEnvironment.h"
#include "project/check/SiteCheck.h"

#include <cstdio>
#include <exception>
#include <iostream>

namespace vlr::cli {
namespace {

int usage(const std::string& why) {
    std::cerr << "velora: " << why << "\nusage: velora --check PROJECT.vlr [--trust] [--format text|json]\n";
    return kExitUsage;
}

// A file as shown: relative to the project's folder when it lies inside it.
std::string shown(const std::string& file, const std::string& folder) {
    if (file.size() > folder.size() + 1 && file.compare(0, folder.size(), folder) == 0 && file[folder.size()] == '/')
        return file.substr(folder.size() + 1);
    return file;
}

std::string jsonString(const std::string& s) {
    std::string out = "\"";
    for (unsigned char c : s) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out += buf;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    return out + "\"";
}

const char* severityWord(check::Severity s) { return s == check::Severity::Error ? "error" : "warning"; }

void printText(const check::CheckResult& result, const std::string& folder) {
    for (const check::Problem& p : result.problems) {
        std::string line = shown(p.file, folder);
        if (p.line > 0)
            line += ":" + std::to_string(p.line) + ":" + std::to_string(p.column > 0 ? p.column : 1);
        line += std::string(": ") + severityWord(p.severity) + ": " + p.message + " [" + p.rule + "]";
        std::cout << TerminalText(line) << '\n';
    }
}

void printJson(const check::CheckResult& result, const std::string& folder) {
    std::string json = "{\n  \"pages\": " + std::to_string(result.pages) +
                       ",\n  \"errors\": " + std::to_string(result.Count(check::Severity::Error)) +
                       ",\n  \"warnings\": " + std::to_string(result.Count(check::Severity::Warning)) +
                       ",\n  \"problems\": [";
    bool first = true;
    for (const check::Problem& p : result.problems) {
        json += first ? "\n    {" : ",\n    {";
        first = false;
        json += "\"file\": " + jsonString(shown(p.file, folder)) + ", \"line\": " + std::to_string(p.line) +
                ", \"column\": " + std::to_string(p.column) + ", \"severity\": \"" + severityWord(p.severity) +
                "\", \"rule\": " + jsonString(p.rule) + ", \"message\": " + jsonString(p.message) +
                ", \"page\": " + jsonString(shown(p.page, folder)) + ", \"includedFrom\": [";
        for (std::size_t k = 0; k < p.includedFrom.size(); ++k)
            json += (k ? ", " : "") + std::string("{\"file\": ") + jsonString(shown(p.includedFrom[k].file, folder)) +
                    ", \"line\": " + std::to_string(p.includedFrom[k].line) +
                    ", \"column\": " + std::to_string(p.includedFrom[k].column) + "}";
        json += "]}";
    }
    json += first ? "]\n}\n" : "\n  ]\n}\n";
    std::cout << json << std::flush;
}

}  // namespace

int RunCommandLineCheck(const std::vector<std::string>& arguments) {
    bool trust = false, json = false, format = false;
    std::string project;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& a = arguments[i];
        if (a == "--trust" && !trust) {
            trust = true;
        } else if (a == "--format" && !format) {
            if (i + 1 >= arguments.size())
                return usage("--format needs a value: text or json");
            const std::string& value = arguments[++i];
            if (value != "text" && value != "json")
                return usage("unknown format " + TerminalText(value) + ": text or json");
            json = value == "json";
            format = true;
        } else if (project.empty() && !a.empty() && a[0] != '-') {
            project = a;
        } else {
            return usage(project.empty() || a.empty() || a[0] == '-' ? "unexpected argument " + TerminalText(a)
                                                                      : "only one project can be checked");
        }
    }
    if (project.empty())
        return usage("--check needs a project file");

    check::CheckRequest request;
    request.projectFile = AbsolutePath(project);
    request.environment = build::SystemBuildEnvironment();
    // Only the user's word lets the check read outside the project's folder.
    request.allowOutside = [trust](const std::string&) { return trust; };
    try {
        const check::CheckResult result = check::CheckSite(request);
        std::string folder = request.projectFile.substr(0, request.projectFile.rfind('/'));
        if (folder.empty())
            folder = "/";
        if (json)
            printJson(result, folder);
        else
            printText(result, folder);
        const int errors = result.Count(check::Severity::Error);
        const int warnings = result.Count(check::Severity::Warning);
        if (!result.refused.empty())
            std::cerr << "The check was refused: " << TerminalText(result.refused)
                      << " lies outside the project's folder. Check it with --trust only if you trust the project.\n";
        std::cerr << errors << (errors == 1 ? " error, " : " errors, ") << warnings
                  << (warnings == 1 ? " warning" : " warnings") << " in " << result.pages
                  << (result.pages == 1 ? " page\n" : " pages\n");
        if (!result.ran)
            return kExitUsage;
        return errors == 0 ? kExitOk : kExitFailed;
    } catch (const std::exception& e) {
        std::cerr << "error: the check stopped: " << TerminalText(e.what()) << "\n";
        return kExitFailed;
    }
}

}  // namespace vlr::cli
