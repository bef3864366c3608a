// Text from files and servers made safe to print on a terminal: control
// characters (a path may hold an escape sequence or a line break) are shown
// as escapes instead of being obeyed.
#pragma once

#include <ostream>
#include <streambuf>
#include <string>
#include <string_view>

namespace vlr::cli {

// Returns the text with every control character (C0, DEL, C1) and every byte
// that is not part of valid UTF-8 written as "\xNN" ("\t", "\n", "\r" for
// those three). Other UTF-8 text is kept as it is.
[[nodiscard]] std::string TerminalText(std::string_view text);

// An output stream that passes whole lines on to another stream, each line's
// text through TerminalText: for commands that print names and server
// answers line by line.
class TerminalLines : public std::ostream {
public:
    explicit TerminalLines(std::ostream& to);
    ~TerminalLines() override;

private:
    class Buffer : public std::streambuf {
    public:
        explicit Buffer(std::ostream& to) : to_(to) {}
        void emit();

    protected:
        int_type overflow(int_type c) override;
        int sync() override;

    private:
        std::ostream& to_;
        std::string line_;
    };
    Buffer buffer_;
};

}  // namespace vlr::cli
