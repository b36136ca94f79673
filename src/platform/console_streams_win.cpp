// SPDX-License-Identifier: MIT
#include "platform/console_streams_win.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <streambuf>
#include <string>

#include "platform/owned_win.h"
#include "platform/wide_text_win.h"

namespace rv::platform {
namespace {

constexpr std::size_t kBufferSize = 4096;

// A standard handle the starter handed over, or null. A windowed program started from a console
// without redirection has none, or one that does not work in it.
HANDLE HandedOver(DWORD which) {
    HANDLE handle = GetStdHandle(which);
    const bool works = handle != nullptr && handle != INVALID_HANDLE_VALUE &&
                       GetFileType(handle) != FILE_TYPE_UNKNOWN;
    return works ? handle : nullptr;
}

bool IsConsole(HANDLE handle) {
    DWORD mode = 0;
    return handle != nullptr && GetConsoleMode(handle, &mode) != 0;
}

// How many bytes at the end of the text begin a UTF-8 sequence that is not complete yet.
std::size_t IncompleteTail(std::string_view text) {
    for (std::size_t back = 1; back <= 3 && back <= text.size(); ++back) {
        const auto byte = static_cast<unsigned char>(text[text.size() - back]);
        if ((byte & 0xC0) != 0x80) {
            const std::size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
            return length > back ? back : 0;
        }
    }
    return 0;
}

// Bytes that are not UTF-8 become U+FFFD rather than hiding the rest of the text.
std::wstring WideShown(std::string_view text) {
    const auto bytes = static_cast<int>(std::min<std::size_t>(text.size(), INT_MAX / 2));
    std::wstring wide(static_cast<std::size_t>(bytes), L'\0');
    wide.resize(static_cast<std::size_t>(
        MultiByteToWideChar(CP_UTF8, 0, text.data(), bytes, wide.data(), bytes)));
    return wide;
}

// A stream buffer on one handle, in text mode: a line ends in CR LF in a file or a pipe, and
// a CR before the LF is dropped from what is read.
class HandleBuffer final : public std::streambuf {
public:
    explicit HandleBuffer(HANDLE handle) : handle_(handle), console_(IsConsole(handle)) {}
    ~HandleBuffer() override { Flush(true); }
    HandleBuffer(const HandleBuffer&) = delete;
    HandleBuffer& operator=(const HandleBuffer&) = delete;

protected:
    int_type overflow(int_type c) override {
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            const char character = traits_type::to_char_type(c);
            xsputn(&character, 1);
        }
        return traits_type::not_eof(c);
    }
    std::streamsize xsputn(const char* text, std::streamsize count) override {
        pending_.append(text, static_cast<std::size_t>(count));
        return pending_.size() < kBufferSize || Flush(false) ? count : 0;
    }
    int sync() override { return Flush(false) ? 0 : -1; }
    int_type underflow() override {
        while (gptr() == egptr()) {
            if (!ReadMore()) {
                return traits_type::eof();
            }
        }
        return traits_type::to_int_type(*gptr());
    }

private:
    // Writes what is pending; a character cut at the buffer's end waits for its rest unless all
    // must go.
    bool Flush(bool all) {
        const std::size_t keep = all || !console_ ? 0 : IncompleteTail(pending_);
        const std::string_view ready(pending_.data(), pending_.size() - keep);
        const bool written = console_ ? WriteToConsole(ready) : WriteToFile(ready);
        pending_.erase(0, ready.size());
        return written;
    }
    bool WriteToConsole(std::string_view text) const {
        const std::wstring wide = WideShown(text);
        for (std::size_t at = 0; at < wide.size();) {
            DWORD done = 0;
            const auto piece = static_cast<DWORD>(std::min<std::size_t>(wide.size() - at, 8192));
            if (!WriteConsoleW(handle_, wide.data() + at, piece, &done, nullptr) || done == 0) {
                return false;
            }
            at += done;
        }
        return true;
    }
    bool WriteToFile(std::string_view text) const {
        std::string lines;
        for (char c : text) {
            lines += c == '\n' ? "\r\n" : std::string(1, c);
        }
        for (std::size_t at = 0; handle_ != nullptr && at < lines.size();) {
            DWORD done = 0;
            const auto piece =
                static_cast<DWORD>(std::min<std::size_t>(lines.size() - at, 1 << 20));
            if (!WriteFile(handle_, lines.data() + at, piece, &done, nullptr)) {
                return false;
            }
            at += done;
        }
        return true;
    }
    bool ReadMore() {
        DWORD done = 0;
        if (console_) {
            wchar_t wide[1024];
            if (!ReadConsoleW(handle_, wide, 1024, &done, nullptr) || done == 0) {
                return false;
            }
            input_ = Utf8FromWide({wide, done});
        } else {
            char bytes[kBufferSize];
            if (handle_ == nullptr || !ReadFile(handle_, bytes, kBufferSize, &done, nullptr) ||
                done == 0) {
                return false;
            }
            input_.assign(bytes, done);
        }
        std::erase(input_, '\r');
        setg(input_.data(), input_.data(), input_.data() + input_.size());
        return true;
    }

    HANDLE handle_;
    bool console_;
    std::string pending_;
    std::string input_;
};

// The console of the process that started this one, when a stream was not handed over.
KernelHandle OpenParentConsole(const wchar_t* name) {
    return KernelHandle(CreateFileW(name, GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                    nullptr));
}

}  // namespace

struct ConsoleStreams::Streams {
    Streams(KernelHandle console_in, KernelHandle console_out, HANDLE in_handle, HANDLE out_handle,
            HANDLE err_handle)
        : console_in_(std::move(console_in)),
          console_out_(std::move(console_out)),
          in_buffer(in_handle),
          out_buffer(out_handle),
          err_buffer(err_handle) {
        err.tie(&out);  // what was said before an error shows before it
        err.setf(std::ios::unitbuf);
    }

    KernelHandle console_in_;
    KernelHandle console_out_;
    HandleBuffer in_buffer;
    HandleBuffer out_buffer;
    HandleBuffer err_buffer;
    std::istream in{&in_buffer};
    std::ostream out{&out_buffer};
    std::ostream err{&err_buffer};
};

ConsoleStreams::ConsoleStreams() {
    HANDLE in = HandedOver(STD_INPUT_HANDLE);
    HANDLE out = HandedOver(STD_OUTPUT_HANDLE);
    HANDLE err = HandedOver(STD_ERROR_HANDLE);
    KernelHandle console_in;
    KernelHandle console_out;
    if ((in == nullptr || out == nullptr || err == nullptr) &&
        AttachConsole(ATTACH_PARENT_PROCESS)) {
        console_in = OpenParentConsole(L"CONIN$");
        console_out = OpenParentConsole(L"CONOUT$");
        const auto or_console = [](HANDLE handed, const KernelHandle& console) {
            return handed != nullptr || !console.valid() ? handed : console.get();
        };
        in = or_console(in, console_in);
        out = or_console(out, console_out);
        err = or_console(err, console_out);
    }
    streams_ =
        std::make_unique<Streams>(std::move(console_in), std::move(console_out), in, out, err);
}

ConsoleStreams::~ConsoleStreams() = default;

std::istream& ConsoleStreams::In() {
    return streams_->in;
}
std::ostream& ConsoleStreams::Out() {
    return streams_->out;
}
std::ostream& ConsoleStreams::Err() {
    return streams_->err;
}

}  // namespace rv::platform
