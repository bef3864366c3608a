// TMyRecord: the three-text payload of the custom window messages.
//
// Records and their texts cross between the program, its modules and its
// plug-ins, so all of them are created and released here, by one allocator.
#pragma once

#include <memory>
#include <string>

extern "C" {

struct TMyRecord {
    char* first;
    char* second;
    char* third;
};

// A new record holding copies of the three texts (a null text is taken as "").
TMyRecord* vlrNewRecord(const char* first, const char* second, const char* third);
// Releases a record and its texts; a null record is ignored.
void vlrFreeRecord(TMyRecord* record);
// A heap copy of a zero-terminated text, released with vlrFreeText.
char* vlrNewText(const char* text);
void vlrFreeText(char* text);
// Replaces one text of a record, releasing the old one.
void vlrSetRecordText(char** slot, const char* text);
}

namespace vlr {

struct RecordDeleter {
    void operator()(TMyRecord* r) const { vlrFreeRecord(r); }
};
using RecordPtr = std::unique_ptr<TMyRecord, RecordDeleter>;

inline RecordPtr MakeRecord(const std::string& first = {}, const std::string& second = {},
                            const std::string& third = {}) {
    return RecordPtr(vlrNewRecord(first.c_str(), second.c_str(), third.c_str()));
}

// Takes ownership of a record passed as a message's long parameter (0 allowed).
inline RecordPtr AdoptRecord(std::intptr_t lParam) {
    return RecordPtr(reinterpret_cast<TMyRecord*>(lParam));
}

inline std::string RecordText(const char* text) { return text ? std::string(text) : std::string(); }

// The strings of an adopted record; empty when there is no record.
inline std::string FirstText(const RecordPtr& r) { return r ? RecordText(r->first) : std::string(); }
inline std::string SecondText(const RecordPtr& r) { return r ? RecordText(r->second) : std::string(); }
inline std::string ThirdText(const RecordPtr& r) { return r ? RecordText(r->third) : std::string(); }

}  // namespace vlr
