#include "platform/Record.h"

#include <cstdlib>
#include <cstring>
#include <new>

extern "C" {

char* vlrNewText(const char* text) {
    if (!text)
        text = "";
    std::size_t n = std::strlen(text);
    char* copy = static_cast<char*>(std::malloc(n + 1));
    if (!copy)
        throw std::bad_alloc();
    std::memcpy(copy, text, n + 1);
    return copy;
}

void vlrFreeText(char* text) { std::free(text); }

TMyRecord* vlrNewRecord(const char* first, const char* second, const char* third) {
    auto* r = static_cast<TMyRecord*>(std::malloc(sizeof(TMyRecord)));
    if (!r)
        throw std::bad_alloc();
    r->first = vlrNewText(first);
    r->second = vlrNewText(second);
    r->third = vlrNewText(third);
    return r;
}

void vlrFreeRecord(TMyRecord* record) {
    if (!record)
        return;
    vlrFreeText(record->first);
    vlrFreeText(record->second);
    vlrFreeText(record->third);
    std::free(record);
}

void vlrSetRecordText(char** slot, const char* text) {
    char* copy = vlrNewText(text);
    vlrFreeText(*slot);
    *slot = copy;
}
}
