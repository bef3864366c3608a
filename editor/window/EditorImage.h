// The editor window's image insertion (message 3079): the user picks a
// picture, which is measured and inserted as an image element at the caret.
#pragma once

#include "editor/image/ImageInfo.h"
#include "platform/Window.h"

#include <string>

namespace vlr {

class TFrmEditor;

// The open project's source and images folders as the main window knows them
// (message 3086): where the editor's file dialogs start. Empty without a
// project or a main window.
struct ProjectFolders {
    std::string source;
    std::string images;
};
ProjectFolders AskProjectFolders(Handle mainWindow);

class EditorImage {
public:
    explicit EditorImage(TFrmEditor& editor) : editor_(editor) {}

    // Asks for a picture and inserts its element. A picture that cannot be
    // measured raises vlr::image::ImageError and nothing is inserted.
    void InsertImage();

    // The prefix of the source address (the preference InsImg, the project
    // from message 3085 and its imgprep key).
    std::string Prefix() const;

    // Measure a picture and keep its size in the window's JpegWidth and
    // JpegHeight (GifWidth and GifHeight) as decimal text. A file the decoder
    // cannot read raises vlr::image::ImageError.
    image::ImageSize GetJpegInfoX(const std::string& path);
    image::ImageSize GetGifInfoX(const std::string& path);

private:
    TFrmEditor& editor_;
};

}  // namespace vlr
