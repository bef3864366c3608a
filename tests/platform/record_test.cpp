#include "platform/Record.h"

#include <gtest/gtest.h>

TEST(Record, CopiesTextsAndReleasesThem) {
    std::string a = "first";
    vlr::RecordPtr r = vlr::MakeRecord(a, "", "third");
    a[0] = 'X';
    EXPECT_STREQ(r->first, "first");
    EXPECT_STREQ(r->second, "");
    vlrSetRecordText(&r->second, "two");
    EXPECT_STREQ(r->second, "two");
    TMyRecord* raw = vlrNewRecord(nullptr, nullptr, nullptr);
    EXPECT_STREQ(raw->third, "");
    vlr::AdoptRecord(reinterpret_cast<std::intptr_t>(raw));  // released here
    vlr::AdoptRecord(0);
}
