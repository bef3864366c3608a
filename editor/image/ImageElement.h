// The image element that image insertion puts into a document: the source
// address from the prefix rule, the measured size and the alternative text.
#pragma once

#include "editor/image/ImageInfo.h"

#include <functional>
#include <string>

namespace vlr::image {

// The prefix in front of the picture's name. With insImg set and a project
// open (projectFile neither empty nor "none"), the project's image prefix
// (readImgprep answers its `imgprep` key, empty when absent); otherwise
// "file://".
std::string ImagePrefix(bool insImg, const std::string& projectFile,
                        const std::function<std::string(const std::string& projectFile)>& readImgprep);

// The picture dialog's filter: every picture kind that can be measured.
const std::string& PictureFilter();

// The source address: "file://" followed by the full path (so a path from
// the root gives "file:///..."), otherwise the prefix followed by the file
// name alone. Blanks, quotes and the characters that end or escape an
// address are percent-encoded.
std::string ImageSource(const std::string& prefix, const std::string& path);

// The whole element, always in lower case:
// <img src="SOURCE" width=W height=H alt="NAME">
// with the name's quotes, ampersands and angle brackets written as entities.
std::string ImageElement(const std::string& prefix, const std::string& path, ImageSize size);

// The file name of a path, without its folder.
std::string BaseName(const std::string& path);

}  // namespace vlr::image
