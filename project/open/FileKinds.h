// How the main window opens a file: the kind its extension selects (compared
// exactly, letter case included), the filter of the file-open dialog, and the
// path helpers shared by the project file list and the main-window messages.
#pragma once

#include <string>
#include <vector>

namespace vlr {

enum class OpenKind { Graphic, Editor, Project, Unknown };

// The extension of a path with its dot: the text from the last "." of the file
// name on ("" when the name has none). "a.b/c" has no extension.
[[nodiscard]] std::string FileExtension(const std::string& path);
// The kind of a file by its extension:
//   ".gif" ".jpg" ".bmp" ".wmf" ".emf" ".ico" are pictures for the viewer;
//   ".hts" ".asp" ".htf" ".ops" ".htm" ".html" ".phtm" ".txt" ".js" ".phtml"
//   ".shtml" ".hsn" ".shtm" open in an editor window; ".vlr" is a project.
[[nodiscard]] OpenKind KindOfFile(const std::string& path);

// The project's source files are exactly the ".hts" files.
[[nodiscard]] bool IsProjectSourceFile(const std::string& path);

// Title and filter of the one file-open dialog (Open, Save Project As, Add File).
inline constexpr const char* kOpenDialogTitle = "Open File";
inline constexpr const char* kOpenDialogFilter =
    "HTML Source (.hts)|*.hts|HTML Snippet (.hsn)|*.hsn|HTML Template (.htf)|*.htf|VLR Project (.vlr)|*.vlr|"
    "HTML File (.html,.htm)|*.html;*.htm|Active Server Page (.asp)|*.asp|Object Pascal Script (.ops)|*.ops|"
    "Javascript Script (.js)|*.js|Gif Image (.gif)|*.gif|Jpeg Image (.jpg)|*.jpg|Bitmap Image (.bmp)|*.bmp|"
    "Windows Metafile (.wmf)|*.wmf|Enhanced Metafile (.emf)|*.emf|Icon (.ico)|*.ico|All Files (.*)|*.*";

// File name of a path: the part after the last "/".
[[nodiscard]] std::string FileNameOf(const std::string& path);
// Directory part of a path without its trailing "/" ("" for a bare name).
[[nodiscard]] std::string DirectoryOf(const std::string& path);
// The path made absolute against the current directory, with "." and ".."
// steps removed; an empty path stays empty.
[[nodiscard]] std::string AbsolutePath(const std::string& path);

// The main window's caption for an open project: the project file's name up
// to its last "." (nothing when it has no ".") followed by " - Velora".
[[nodiscard]] std::string ProjectCaption(const std::string& projectFile);

// Where a name relative to the project is looked for: pictures (".gif",
// ".jpg", ".bmp", ".emf", ".wmf", ".ico", exact case) in the image directory,
// everything else in the source directory. The result is that directory + "/".
[[nodiscard]] std::string LookupDirectory(const std::string& name, const std::string& sourceDir,
                                          const std::string& imageDir);

// The pieces of a list of paths each followed by ",": the text before every
// ","; text after the last "," is not a piece.
[[nodiscard]] std::vector<std::string> SplitOpenList(const std::string& text);

}  // namespace vlr
