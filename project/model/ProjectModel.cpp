#include "project/model/ProjectModel.h"

#include "platform/IniFile.h"
#include "project/build/ProjectPaths.h"
#include "project/build/RelativeFolder.h"

#include <filesystem>

namespace vlr {
namespace {

const char* const kFiles = "files";
const char* const kDirectories = "directories";
const char* const kOther = "other";
const char* const kCompiler = "Compiler";
const char* const kVariables = "variables";

// The project file's path made full: its folder places the relative paths.
std::string fullProjectPath(const std::string& path) {
    if (path.empty() || path.front() == '/')
        return path;
    std::error_code ec;
    const std::filesystem::path full = std::filesystem::absolute(path, ec);
    return ec ? path : full.lexically_normal().string();
}

std::string folderOfProject(const std::string& projectFile) {
    if (projectFile.empty() || projectFile == kNoProjectFile)
        return {};
    return build::ProjectFolderOf(fullProjectPath(projectFile));
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

void writeOptions(Writer& w, const ProjectState& state, const std::string& path) {
    w.text(kDirectories, "src", StoredForm(path, state.SourceDir, state.Forms.src));
    w.text(kDirectories, "out", StoredForm(path, state.OutputDir, state.Forms.out));
    w.text(kDirectories, "img", StoredForm(path, state.ImageDir, state.Forms.img));
    w.text(kDirectories, "search", StoredForm(path, state.SearchDir, state.Forms.search));
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
    Forms = StoredForms{};
}

std::string ProjectFolder(const ProjectState& state) { return folderOfProject(state.ProjectFile); }

std::string StoredForm(const std::string& projectFile, const std::string& full, bool relative) {
    return build::StoredProjectPath(folderOfProject(projectFile), full, relative);
}

std::string FullDirectory(const ProjectState& state, const std::string& given, bool* relative) {
    const std::string folder = ProjectFolder(state);
    const bool rel = build::IsRelativePath(given) && !folder.empty();
    if (relative)
        *relative = rel;
    return build::ResolveProjectPath(folder, given);
}

bool HasProjectFile(const ProjectState& state, const std::string& path) {
    for (const std::string& file : state.AllFiles)
        if (build::SamePath(file, path))
            return true;
    return false;
}

void AppendProjectFile(ProjectState& state, const std::string& path) {
    const std::string full = build::LexicallyNormal(path);
    state.AllFiles.push_back(full);
    if (build::KeepsRelative(ProjectFolder(state), full, state.Forms.src))
        state.Forms.relativeFiles.insert(full);
    else
        state.Forms.relativeFiles.erase(full);
}

void ReadProjectFile(const std::string& path, ProjectState& state) {
    const IniSnapshot ini(path);
    state.ProjectFile = path;
    state.ProjectModified = false;

    state.Forms = StoredForms{};
    const std::string folder = folderOfProject(path);
    auto directory = [&](const char* key, bool& relative) {
        const std::string stored = ini.ReadString(kDirectories, key, "");
        relative = build::IsRelativePath(stored) && !folder.empty();
        return build::ResolveProjectPath(folder, stored);
    };
    state.SourceDir = directory("src", state.Forms.src);
    state.OutputDir = directory("out", state.Forms.out);
    state.SearchDir = directory("search", state.Forms.search);
    state.ImageDir = directory("img", state.Forms.img);
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

    // The reading the build shares: every key in file order, whatever its
    // name, so a gap in the numbering loses nothing.
    const auto files = ini.ReadSectionValues(kFiles);
    state.FilesCount.clear();
    state.FilesCount.reserve(files.size());
    for (const auto& entry : files)
        state.FilesCount.push_back(entry.first);
    state.AllFiles = build::ProjectFileEntries(files, folder);
    // Which of them the file keeps relative: the first value of each key is
    // the one read, so a relative spelling anywhere marks the file relative.
    for (const auto& [key, stored] : files)
        if (build::IsRelativePath(stored) && !folder.empty())
            state.Forms.relativeFiles.insert(build::ResolveProjectPath(folder, stored));
}

bool WriteProjectFile(const ProjectState& state, const std::string& path, std::string* error) {
    if (!checkAll(state, error))
        return false;
    Writer w(path, error);
    w.erase(kDirectories);
    w.erase(kVariables);
    w.erase(kFiles);
    for (std::size_t i = 0; i < state.AllFiles.size(); ++i) {
        const std::string& file = state.AllFiles[i];
        w.text(kFiles, std::to_string(i), StoredForm(path, file, state.Forms.relativeFiles.count(file) > 0));
    }
    writeOptions(w, state, path);
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
    writeOptions(w, state, path);
    return w.commit();
}

}  // namespace vlr
