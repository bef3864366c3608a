#include "project/model/ProjectModel.h"

#include "platform/IniFile.h"

#include <algorithm>
#include <cctype>

namespace vlr {
namespace {

const char* const kFiles = "files";
const char* const kDirectories = "directories";
const char* const kOther = "other";
const char* const kCompiler = "Compiler";
const char* const kVariables = "variables";

// Section and key names compare without letter case in the file.
bool sameKey(const std::string& a, const std::string& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}

bool hasLineBreak(const std::string& text) {
    return text.find_first_of("\r\n") != std::string::npos;
}

// A line break in any written text would end the line early and turn the rest
// into further keys or sections of the file.
bool checkText(const std::string& what, const std::string& text, std::string* error) {
    if (!hasLineBreak(text))
        return true;
    if (error)
        *error = what + " contains a line break and cannot be stored in the project file";
    return false;
}

bool checkOptions(const ProjectState& state, std::string* error) {
    return checkText("The source directory", state.SourceDir, error) &&
           checkText("The output directory", state.OutputDir, error) &&
           checkText("The image directory", state.ImageDir, error) &&
           checkText("The search directory", state.SearchDir, error) &&
           checkText("The image prefix", state.ImgPrefix, error);
}

bool checkAll(const ProjectState& state, std::string* error) {
    if (!checkOptions(state, error))
        return false;
    for (const std::string& file : state.AllFiles)
        if (!checkText("The file name " + file.substr(0, file.find_first_of("\r\n")), file, error))
            return false;
    for (int i = 0; i < state.ProjectVars.Count(); ++i) {
        const TUserSetting* v = state.ProjectVars.Items(i);
        if (!checkText("The variable name " + v->Name.substr(0, v->Name.find_first_of("\r\n")), v->Name, error) ||
            !checkText("The value of variable " + v->Name, v->Value, error))
            return false;
    }
    return true;
}

// Collects the outcome of a series of writes: stops at the first failure so a
// broken file is reported once and not written further.
class Writer {
public:
    Writer(const std::string& path, std::string* error) : ini_(path), error_(error) {}

    void erase(const std::string& section) {
        if (ok_ && !ini_.EraseSection(section))
            fail();
    }
    void text(const std::string& section, const std::string& key, const std::string& value) {
        if (ok_ && !ini_.WriteString(section, key, value))
            fail();
    }
    void flag(const std::string& section, const std::string& key, bool value) {
        if (ok_ && !ini_.WriteBool(section, key, value))
            fail();
    }
    [[nodiscard]] bool ok() const { return ok_; }

private:
    void fail() {
        ok_ = false;
        if (error_)
            *error_ = "Cannot write the project file " + ini_.path();
    }
    IniFile ini_;
    std::string* error_;
    bool ok_ = true;
};

void writeOptions(Writer& w, const ProjectState& state) {
    w.text(kDirectories, "src", state.SourceDir);
    w.text(kDirectories, "out", state.OutputDir);
    w.text(kDirectories, "img", state.ImageDir);
    w.text(kDirectories, "search", state.SearchDir);
    w.text(kOther, "imgprep", state.ImgPrefix);
    w.flag(kCompiler, "vars", state.Switches.vars);
    w.flag(kCompiler, "db", state.Switches.db);
    w.flag(kCompiler, "scripts", state.Switches.scripts);
    w.flag(kCompiler, "extapps", state.Switches.extapps);
    w.flag(kCompiler, "includes", state.Switches.includes);
}

}  // namespace

void ProjectState::Clear() {
    ProjectFile = kNoProjectFile;
    ProjectModified = false;
    SourceDir.clear();
    OutputDir.clear();
    SearchDir.clear();
    ImageDir.clear();
    ImgPrefix.clear();
    AllFiles.clear();
    Variables.clear();
    FilesCount.clear();
    ProjectVars.Clear();
}

void ReadProjectFile(const std::string& path, ProjectState& state) {
    const IniFile ini(path);
    state.ProjectFile = path;
    state.ProjectModified = false;

    state.SourceDir = ini.ReadString(kDirectories, "src", "");
    state.OutputDir = ini.ReadString(kDirectories, "out", "");
    state.SearchDir = ini.ReadString(kDirectories, "search", "");
    state.ImageDir = ini.ReadString(kDirectories, "img", "");
    state.ImgPrefix = ini.ReadString(kOther, "imgprep", "");

    state.Switches.vars = ini.ReadBool(kCompiler, "vars", true);
    state.Switches.db = ini.ReadBool(kCompiler, "db", true);
    state.Switches.scripts = ini.ReadBool(kCompiler, "scripts", true);
    state.Switches.extapps = ini.ReadBool(kCompiler, "extapps", true);
    state.Switches.includes = ini.ReadBool(kCompiler, "includes", true);

    state.Variables = ini.ReadSection(kVariables);
    state.ProjectVars.Clear();
    for (const std::string& name : state.Variables)
        state.ProjectVars.Add(name, ini.ReadString(kVariables, name, ""));

    // Every key in file order, whatever its name: a gap in the numbering loses
    // nothing, and an empty value is no file.
    state.FilesCount = ini.ReadSection(kFiles);
    state.AllFiles.clear();
    for (std::size_t i = 0; i < state.FilesCount.size(); ++i) {
        const std::string& key = state.FilesCount[i];
        bool repeated = std::any_of(state.FilesCount.begin(), state.FilesCount.begin() + static_cast<long>(i),
                                    [&](const std::string& earlier) { return sameKey(earlier, key); });
        if (repeated)
            continue;  // a lookup by name only ever reaches the first of them
        std::string file = ini.ReadString(kFiles, key, "");
        if (!file.empty())
            state.AllFiles.push_back(std::move(file));
    }
}

bool WriteProjectFile(const ProjectState& state, const std::string& path, std::string* error) {
    if (!checkAll(state, error))
        return false;
    Writer w(path, error);
    w.erase(kDirectories);
    w.erase(kVariables);
    w.erase(kFiles);
    for (std::size_t i = 0; i < state.AllFiles.size(); ++i)
        w.text(kFiles, std::to_string(i), state.AllFiles[i]);
    writeOptions(w, state);
    for (int i = 0; i < state.ProjectVars.Count(); ++i) {
        const TUserSetting* v = state.ProjectVars.Items(i);
        w.text(kVariables, v->Name, v->Value);
    }
    return w.ok();
}

bool WriteProjectOptions(const ProjectState& state, const std::string& path, std::string* error) {
    if (!checkOptions(state, error))
        return false;
    Writer w(path, error);
    w.erase(kDirectories);
    w.erase(kCompiler);
    writeOptions(w, state);
    return w.ok();
}

}  // namespace vlr
