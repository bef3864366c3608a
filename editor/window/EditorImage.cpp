// Image insertion.
#include "editor/window/EditorImage.h"

#include "editor/image/ImageElement.h"
#include "editor/window/FrmEditor.h"
#include "platform/IniFile.h"
#include "platform/Prompter.h"
#include "platform/Record.h"
#include "platform/System.h"

#include <filesystem>

namespace vlr {

using velora::memo::MemoEngine;

namespace {
constexpr unsigned kProjectFileQuery = 3085;
constexpr unsigned kProjectFoldersQuery = 3086;
}  // namespace

ProjectFolders AskProjectFolders(Handle mainWindow) {
    ProjectFolders folders;
    if (!IsWindow(mainWindow))
        return folders;
    RecordPtr answer = AdoptRecord(SendMessage(mainWindow, kProjectFoldersQuery, 0, 0));
    folders.source = FirstText(answer);
    folders.images = SecondText(answer);
    return folders;
}

std::string EditorImage::Prefix() const {
    // The preferences the main window keeps: the user's copy for an installed program.
    const bool insImg = IniFile(ReadablePath("preferences.dat")).ReadBool("Environment", "InsImg", true);
    std::string project;
    if (insImg && IsWindow(editor_.MainWnd)) {
        RecordPtr answer = AdoptRecord(SendMessage(editor_.MainWnd, kProjectFileQuery, 0, 0));
        project = FirstText(answer);
    }
    return image::ImagePrefix(insImg, project, [](const std::string& projectFile) {
        return IniFile(projectFile).ReadString("other", "imgprep", "");
    });
}

image::ImageSize EditorImage::GetJpegInfoX(const std::string& path) {
    const image::ImageSize size = image::MeasureImage(path, image::ImageKind::Jpeg);
    editor_.JpegWidth = std::to_string(size.width);
    editor_.JpegHeight = std::to_string(size.height);
    return size;
}

image::ImageSize EditorImage::GetGifInfoX(const std::string& path) {
    const image::ImageSize size = image::MeasureImage(path, image::ImageKind::Gif);
    editor_.GifWidth = std::to_string(size.width);
    editor_.GifHeight = std::to_string(size.height);
    return size;
}

void EditorImage::InsertImage() {
    const std::string prefix = Prefix();
    FileDialogRequest request;
    request.filter = image::PictureFilter();
    request.mustExist = true;
    request.initialDir = AskProjectFolders(editor_.MainWnd).images;
    const std::optional<std::string> chosen = OpenFile(request);
    if (!chosen || chosen->empty())
        return;
    const std::string path = std::filesystem::absolute(*chosen).lexically_normal().string();
    const image::ImageKind kind = image::KindOfFileName(path);
    if (kind == image::ImageKind::Unknown) {
        ShowMessage(MessageKind::Information, "",
                    "Cannot insert " + path + ": only GIF, JPEG, PNG, WebP and SVG pictures can be inserted");
        return;
    }
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        ShowMessage(MessageKind::Information, "", "Cannot find file " + path);
        return;
    }
    image::ImageSize size;
    if (kind == image::ImageKind::Gif)
        size = GetGifInfoX(path);
    else if (kind == image::ImageKind::Jpeg)
        size = GetJpegInfoX(path);
    else
        size = image::MeasureImage(path, kind);
    MemoEngine& e = editor_.SyntaxMemo1->engine();
    MemoEngine::UpdateBracket bracket(e);
    e.replaceSelection(image::ImageElement(prefix, path, size));
}

}  // namespace vlr
