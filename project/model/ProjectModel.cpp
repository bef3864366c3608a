#include "project/model/ProjectModel.h"

#include "platform/AsciiCase.h"
#include "platform/IniFile.h"

#include <unordered_set>

namespace vlr {
namespace {

const char* const kFiles = "files";
const char* const kDirectories = "directories";
const char* const kOther = "other";
const char* const kCompiler = "Compiler";
const char* const kVariables = "variables";

// Key names compare without ASCII letter case in the file.
std::string lowerKey(const std::string& key) {
    std::string out = key;
    for (char& c : out)
        c = static_cast<char>(AsciiLower(static_cast<unsigned char>(c)));
    return out;
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

// All changes of one save go into one batch and reach the disk in one atomic
// write, so a failure or a crash half-way leaves the old file as it was.
class Writer {
public:
    Writer(const std::string& path, std::string* error) : ini_(path), error_(error) {}

    void erase(const std::string& section) { ini_.EraseSection(section); }
    void text(const std::string& section, const std::string& key, const std::string& value) {
        ini_.WriteString(section, key, value);
    }
    void flag(const std::string& section, const std::string& key, bool value) { ini_.WriteBool(section, key, value); }
    [[nodiscard]] bool commit() {
        std::string reason;
        if (ini_.Commit(&reason))
            return true;
        if (error_)
            *error_ = "Cannot write the project file " + ini_.path() + ": " + reason;
        return false;
    }

private:
    IniBatch ini_;
    std::string* error_;
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
    const IniSnapshot ini(path);
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
    // nothing, and an empty value is no file. A key repeated in the section is
    // taken once, with its first value, as a lookup by name would give.
    const auto files = ini.ReadSectionValues(kFiles);
    state.FilesCount.clear();
    state.FilesCount.reserve(files.size());
    state.AllFiles.clear();
    state.AllFiles.reserve(files.size());
    std::unordered_set<std::string> seen;
    for (const auto& [key, file] : files) {
        state.FilesCount.push_back(key);
        if (!seen.insert(lowerKey(key)).second)
            continue;
        if (!file.empty())
            state.AllFiles.push_back(file);
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
    return w.commit();
}

bool WriteProjectOptions(const ProjectState& state, const std::string& path, std::string* error) {
    if (!checkOptions(state, error))
        return false;
    Writer w(path, error);
    w.erase(kDirectories);
    w.erase(kCompiler);
    writeOptions(w, state);
    return w.commit();
}

}  // namespace vlr
