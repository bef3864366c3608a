// The inserted image element: prefix rule, source address, escaping.
#include "editor/image/ImageElement.h"

#include <gtest/gtest.h>

using namespace vlr::image;

TEST(ImageElement, PrefixRule) {
    int reads = 0;
    auto imgprep = [&](const std::string& project) {
        ++reads;
        return project == "/p/site.vlr" ? std::string("images/") : std::string();
    };
    struct Row {
        bool insImg;
        std::string project, prefix;
    } rows[] = {
        {true, "/p/site.vlr", "images/"},
        {true, "/p/nokey.vlr", ""},  // a project without the key: the bare file name
        {true, "none", "file://"},
        {true, "", "file://"},
        {false, "/p/site.vlr", "file://"},
    };
    for (const Row& r : rows)
        EXPECT_EQ(ImagePrefix(r.insImg, r.project, imgprep), r.prefix) << r.project << " " << r.insImg;
    EXPECT_EQ(reads, 2);
}

TEST(ImageElement, ElementsAsInserted) {
    struct Row {
        std::string prefix, path;
        ImageSize size;
        std::string element;
    } rows[] = {
        {"file://", "/pics/logo.gif", {88, 31},
         "<img src=\"file:///pics/logo.gif\" width=88 height=31 alt=\"logo.gif\">"},
        {"images/", "/home/me/pics/PHOTO.JPG", {640, 480},
         "<img src=\"images/PHOTO.JPG\" width=640 height=480 alt=\"PHOTO.JPG\">"},
        {"", "/x/a.png", {1, 2}, "<img src=\"a.png\" width=1 height=2 alt=\"a.png\">"},
        {"file://", "/my pics/say \"hi\".svg", {3, 4},
         "<img src=\"file:///my%20pics/say%20%22hi%22.svg\" width=3 height=4 alt=\"say &quot;hi&quot;.svg\">"},
        {"http://cdn.example/", "/p/100%#1?.png", {5, 6},
         "<img src=\"http://cdn.example/100%25%231%3F.png\" width=5 height=6 alt=\"100%#1?.png\">"},
        {"img/", "/p/a&b<c>.gif", {7, 8}, "<img src=\"img/a&b%3Cc%3E.gif\" width=7 height=8 alt=\"a&amp;b&lt;c&gt;.gif\">"},
    };
    for (const Row& r : rows)
        EXPECT_EQ(ImageElement(r.prefix, r.path, r.size), r.element);
}

TEST(ImageElement, FilterOffersEveryMeasurableKind) {
    const std::string& f = PictureFilter();
    for (const char* pattern : {"*.gif", "*.jpg", "*.jpeg", "*.png", "*.webp", "*.svg"})
        EXPECT_NE(f.find(pattern), std::string::npos) << pattern;
    EXPECT_EQ(f.rfind("All (", 0), 0u);
}
