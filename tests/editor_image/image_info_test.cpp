// The picture size readers on made-up pictures, damaged files and odd SVG roots.
#include "ImageFixtures.h"
#include "editor/image/ImageInfo.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace vlr::image;
using vlrtest::AnimatedGif;

namespace {

ImageSize Of(ImageSize (*reader)(const unsigned char*, std::size_t), const std::string& bytes) {
    return reader(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}

ImageSize Svg(const std::string& text) { return Of(SvgSizeOf, text); }

}  // namespace

TEST(ImageInfo, GifIsMeasuredByItsFirstImageNotItsScreen) {
    EXPECT_EQ(Of(GifSizeOf, AnimatedGif(100, 50, 40, 20)), (ImageSize{40, 20}));
    EXPECT_EQ(Of(GifSizeOf, AnimatedGif(88, 31, 88, 31)), (ImageSize{88, 31}));
}

TEST(ImageInfo, DamagedGifsAreErrors) {
    const std::string gif = AnimatedGif(100, 50, 40, 20);
    EXPECT_THROW(Of(GifSizeOf, gif.substr(0, 20)), ImageError);  // cut inside the first frame
    EXPECT_THROW(Of(GifSizeOf, "GIF89a"), ImageError);
    EXPECT_THROW(Of(GifSizeOf, "not a picture at all"), ImageError);
    // A screen and a trailer but no image.
    EXPECT_THROW(Of(GifSizeOf, gif.substr(0, 13) + ";"), ImageError);
}

TEST(ImageInfo, JpegSizeComesFromTheHeader) {
    EXPECT_EQ(Of(JpegSizeOf, vlrtest::Jpeg(33, 17)), (ImageSize{33, 17}));
    EXPECT_EQ(Of(JpegSizeOf, vlrtest::Jpeg(640, 1)), (ImageSize{640, 1}));
    // Only the header is needed: the picture data may be cut off.
    const std::string jpeg = vlrtest::Jpeg(120, 90);
    EXPECT_EQ(Of(JpegSizeOf, jpeg.substr(0, jpeg.size() - 40)), (ImageSize{120, 90}));
}

TEST(ImageInfo, DamagedJpegsAreErrors) {
    EXPECT_THROW(Of(JpegSizeOf, ""), ImageError);
    EXPECT_THROW(Of(JpegSizeOf, "\xFF\xD8\xFF"), ImageError);
    EXPECT_THROW(Of(JpegSizeOf, AnimatedGif(10, 10, 10, 10)), ImageError);
    try {
        Of(JpegSizeOf, "plain text");
        FAIL();
    } catch (const ImageError& e) {
        EXPECT_NE(std::string(e.what()).find("JPEG"), std::string::npos);
    }
}

TEST(ImageInfo, PngAndWebpHeaders) {
    EXPECT_EQ(Of(PngSizeOf, vlrtest::PngHeader(1920, 1080)), (ImageSize{1920, 1080}));
    EXPECT_THROW(Of(PngSizeOf, vlrtest::PngHeader(0, 10)), ImageError);
    EXPECT_THROW(Of(PngSizeOf, vlrtest::PngHeader(0x80000000u, 10)), ImageError);
    EXPECT_THROW(Of(PngSizeOf, vlrtest::PngHeader(5, 5).substr(0, 20)), ImageError);
    EXPECT_EQ(Of(WebpSizeOf, vlrtest::WebpLossy(300, 200)), (ImageSize{300, 200}));
    EXPECT_EQ(Of(WebpSizeOf, vlrtest::WebpLossless(16384, 1)), (ImageSize{16384, 1}));
    EXPECT_EQ(Of(WebpSizeOf, vlrtest::WebpExtended(5000, 70)), (ImageSize{5000, 70}));
    EXPECT_THROW(Of(WebpSizeOf, vlrtest::PngHeader(5, 5) + std::string(20, 'x')), ImageError);
}

TEST(ImageInfo, SvgSizeFromWidthHeightOrViewBox) {
    EXPECT_EQ(Svg("<svg width=\"120\" height=\"80\"/>"), (ImageSize{120, 80}));
    EXPECT_EQ(Svg("<?xml version=\"1.0\"?>\n<!-- logo -->\n<!DOCTYPE svg [ <!ENTITY a \"b\"> ]>\n"
                  "<svg xmlns=\"http://www.w3.org/2000/svg\" width='64px' height='32.4px'>"),
              (ImageSize{64, 32}));
    EXPECT_EQ(Svg("<svg viewBox=\"0 0 300 150\">"), (ImageSize{300, 150}));
    EXPECT_EQ(Svg("<svg viewBox=\"0,0,300,150\" width=\"100%\" height=\"100%\">"), (ImageSize{300, 150}));
    EXPECT_EQ(Svg("<svg width=\"600\" viewBox=\"0 0 300 150\">"), (ImageSize{600, 300}));
    EXPECT_EQ(Svg("<svg:svg width=\"1in\" height=\"72pt\">"), (ImageSize{96, 96}));
    EXPECT_EQ(Svg("\xEF\xBB\xBF<svg width=\"2.54cm\" height=\"10mm\">"), (ImageSize{96, 38}));
}

TEST(ImageInfo, SvgWithoutSizeOrRootIsAnError) {
    EXPECT_THROW(Svg("<svg>"), ImageError);
    EXPECT_THROW(Svg("<svg width=\"50%\" height=\"10\">"), ImageError);
    EXPECT_THROW(Svg("<html width=\"5\" height=\"5\">"), ImageError);
    EXPECT_THROW(Svg("<svg width=\"5\" height=\"5\""), ImageError);
    EXPECT_THROW(Svg("<svg width=5 height=5>"), ImageError);
    EXPECT_THROW(Svg("<svg width=\"-5\" height=\"5\">"), ImageError);
    EXPECT_THROW(Svg("<svg width=\"1e300\" height=\"5\">"), ImageError);
    EXPECT_THROW(Svg("<!-- never closed"), ImageError);
}

TEST(ImageInfo, KindsByExtensionIgnoreLetterCase) {
    EXPECT_EQ(KindOfFileName("/a/PHOTO.JPG"), ImageKind::Jpeg);
    EXPECT_EQ(KindOfFileName("b.jpeg"), ImageKind::Jpeg);
    EXPECT_EQ(KindOfFileName("logo.Gif"), ImageKind::Gif);
    EXPECT_EQ(KindOfFileName("x.png"), ImageKind::Png);
    EXPECT_EQ(KindOfFileName("x.WEBP"), ImageKind::Webp);
    EXPECT_EQ(KindOfFileName("x.svg"), ImageKind::Svg);
    EXPECT_EQ(KindOfFileName("x.bmp"), ImageKind::Unknown);
    EXPECT_EQ(KindOfFileName("/dir.gif/noext"), ImageKind::Unknown);
}

TEST(ImageInfo, MeasureImageNamesTheFileInItsErrors) {
    const auto dir = std::filesystem::temp_directory_path() / ("vlr_img_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string gif = (dir / "anim.gif").string(), bad = (dir / "bad.jpg").string();
    ASSERT_TRUE(vlrtest::WriteBytes(gif, AnimatedGif(200, 100, 20, 10)));
    ASSERT_TRUE(vlrtest::WriteBytes(bad, "GIF89a but called jpg"));
    EXPECT_EQ(MeasureImage(gif, ImageKind::Gif), (ImageSize{20, 10}));
    try {
        MeasureImage(bad, ImageKind::Jpeg);
        FAIL();
    } catch (const ImageError& e) {
        EXPECT_NE(std::string(e.what()).find(bad), std::string::npos);
    }
    EXPECT_THROW(MeasureImage((dir / "missing.png").string(), ImageKind::Png), ImageError);
    EXPECT_THROW(MeasureImage(gif, ImageKind::Unknown), ImageError);
    std::filesystem::remove_all(dir);
}
