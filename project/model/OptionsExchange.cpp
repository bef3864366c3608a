#include "project/model/OptionsExchange.h"

#include "platform/IniFile.h"

namespace vlr {

std::string OptionsExchangePath(const std::string& appDir) { return appDir + "~tmppref.ini"; }

bool WriteOptionsExchange(const ProjectState& state, const std::string& path, std::string* error) {
    for (const std::string* text : {&state.ImageDir, &state.SourceDir, &state.OutputDir, &state.ImgPrefix})
        if (text->find_first_of("\r\n") != std::string::npos) {
            if (error)
                *error = "The project's directories cannot contain line breaks";
            return false;
        }
    // Old keys of an earlier exchange must not come back as answers: the file
    // is replaced whole by exactly these keys.
    // The dialog shows the directories as the project file keeps them, so a
    // relative folder stays relative when the user confirms without a change.
    IniBatch ini(path);
    ini.Clear();
    ini.WriteString("dirs", "img", StoredForm(state.ProjectFile, state.ImageDir, state.Forms.img));
    ini.WriteString("dirs", "src", StoredForm(state.ProjectFile, state.SourceDir, state.Forms.src));
    ini.WriteString("dirs", "out", StoredForm(state.ProjectFile, state.OutputDir, state.Forms.out));
    ini.WriteString("dirs", "img_prep", state.ImgPrefix);
    ini.WriteBool("compiler", "vars", state.Switches.vars);
    ini.WriteBool("compiler", "db", state.Switches.db);
    ini.WriteBool("compiler", "scripts", state.Switches.scripts);
    ini.WriteBool("compiler", "ext", state.Switches.extapps);
    ini.WriteBool("compiler", "inc", state.Switches.includes);
    std::string reason;
    if (ini.Commit(&reason))
        return true;
    if (error)
        *error = "Cannot write " + path + ": " + reason;
    return false;
}

void ReadOptionsExchange(const std::string& path, ProjectState& state) {
    const IniSnapshot ini(path);
    state.ImageDir = FullDirectory(state, ini.ReadString("dirs", "img", ""), &state.Forms.img);
    state.SourceDir = FullDirectory(state, ini.ReadString("dirs", "src", ""), &state.Forms.src);
    state.OutputDir = FullDirectory(state, ini.ReadString("dirs", "out", ""), &state.Forms.out);
    state.ImgPrefix = ini.ReadString("dirs", "img_prep", "");
    state.Switches.vars = ini.ReadBool("compiler", "vars", true);
    state.Switches.db = ini.ReadBool("compiler", "db", true);
    state.Switches.scripts = ini.ReadBool("compiler", "scripts", true);
    state.Switches.extapps = ini.ReadBool("compiler", "ext", true);
    state.Switches.includes = ini.ReadBool("compiler", "inc", true);
}

}  // namespace vlr
