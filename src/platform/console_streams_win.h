// SPDX-License-Identifier: MIT
#pragma once

#include <istream>
#include <memory>
#include <ostream>

// The standard streams of the windowed .exe when it runs as a command line. Windows gives a
// windowed program no console: started from a console, it attaches to that console; streams the
// starter redirected to a file or a pipe are used as they are.
namespace rv::platform {

class ConsoleStreams {
public:
    ConsoleStreams();
    ~ConsoleStreams();  // writes out what is still buffered
    ConsoleStreams(const ConsoleStreams&) = delete;
    ConsoleStreams& operator=(const ConsoleStreams&) = delete;

    // UTF-8 text in and out: a console shows it and reads it as Unicode, whatever its code page;
    // a file or a pipe gets the UTF-8 bytes. A stream that reaches nothing swallows its text.
    std::istream& In();
    std::ostream& Out();
    std::ostream& Err();

private:
    struct Streams;
    std::unique_ptr<Streams> streams_;
};

}  // namespace rv::platform
