// The project options exchange file "~tmppref.ini": the main window writes the
// project's directories, image prefix and switches into it before the options
// dialog runs and reads them back when the dialog was confirmed.
#pragma once

#include "project/model/ProjectModel.h"

#include <string>

namespace vlr {

// The exchange file in the program folder (appDir ends with "/").
[[nodiscard]] std::string OptionsExchangePath(const std::string& appDir);

// Replaces the file with "dirs" img, src, out, img_prep and "compiler" vars,
// db, scripts, ext, inc from the state, the directories in the form the
// project file keeps them. False (reason in *error) when a text
// holds a line break or the file cannot be written.
[[nodiscard]] bool WriteOptionsExchange(const ProjectState& state, const std::string& path,
                                        std::string* error = nullptr);

// Reads the same keys into the state: missing directories give empty text,
// missing switches give true; a relative directory is taken from the project
// file's folder and stays relative in the project file. SearchDir and everything else stay as they are.
void ReadOptionsExchange(const std::string& path, ProjectState& state);

}  // namespace vlr
