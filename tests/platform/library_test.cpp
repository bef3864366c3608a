#include "platform/Library.h"
#include "platform/System.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

TEST(Library, DllNamesMapToModulesInTheProgramFolder) {
    ::setenv("VELORA_APPDIR", "/opt/velora", 1);
    EXPECT_EQ(vlr::AppDir(), "/opt/velora/");
    EXPECT_EQ(vlr::LibraryFileFor("vlrcore.dll"), "/opt/velora/vlrcore.so");
    EXPECT_EQ(vlr::LibraryFileFor("webpost.DLL"), "/opt/velora/webpost.so");
    EXPECT_EQ(vlr::LibraryFileFor("/tmp/x/plugin.vlp"), "/tmp/x/plugin.vlp");
    ::unsetenv("VELORA_APPDIR");
}

TEST(Library, LoadsByNameAndLooksUpEntryPoints) {
    ::setenv("VELORA_APPDIR", TEST_MODULE_DIR, 1);
    vlr::LibraryHandle lib = vlr::LoadLibrary("testmod.dll");
    ASSERT_NE(lib, nullptr) << vlr::LastLibraryError();
    auto fn = reinterpret_cast<int (*)()>(vlr::GetProcAddress(lib, "VlrTestAnswer"));
    ASSERT_NE(fn, nullptr);
    EXPECT_EQ(fn(), 42);
    EXPECT_EQ(vlr::GetProcAddress(lib, "NoSuchEntry"), nullptr);
    vlr::FreeLibrary(lib);
    EXPECT_EQ(vlr::LoadLibrary("absent.dll"), nullptr);
    EXPECT_NE(vlr::LastLibraryError().find("absent.so"), std::string::npos);
    ::unsetenv("VELORA_APPDIR");
}

TEST(System, VersionResourceAndFolders) {
    EXPECT_GT(vlr::VersionResourceSize(), 0);
    std::string v = vlr::VersionValue("FileVersion");
    EXPECT_EQ(v.rfind("1.0.0.", 0), 0u) << v;
    EXPECT_EQ(vlr::VersionValue("OriginalFilename"), "velora");
    EXPECT_EQ(vlr::VersionValue("CompanyName"), "");
    EXPECT_EQ(vlr::TempDir().back(), '/');
    std::uint32_t a = vlr::TickCount();
    std::uint32_t b = vlr::TickCount();
    EXPECT_LE(a, b);
}

}  // namespace
