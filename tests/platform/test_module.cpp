// A module for the library-loading tests.
extern "C" int VlrTestAnswer() { return 42; }
