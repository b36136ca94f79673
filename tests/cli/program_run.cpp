// SPDX-License-Identifier: MIT
#include "program_run.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "support/sample_addon.h"
#include "text/text.h"

namespace rv::test {
namespace {

void Redirect(const std::string& path, int flags, int stream) {
    const int file = ::open(path.c_str(), flags, 0600);
    ::dup2(file, stream);
    ::close(file);
}

}  // namespace

ProgramRan RunProgram(const std::vector<std::string>& arguments, Output output,
                      const std::string& answer, const std::function<void(pid_t)>& meanwhile) {
    const TempFolder io;
    io.AddFile("in", answer);
    int pipe_ends[2] = {-1, -1};
    if (output == Output::ClosedPipe && ::pipe(pipe_ends) == 0) {
        ::close(pipe_ends[0]);  // the reader is gone before the program starts
    }
    std::vector<char*> argv{const_cast<char*>(RV_PROGRAM)};
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        Redirect(io.Path("in"), O_RDONLY, 0);
        if (output == Output::ClosedPipe) {
            ::dup2(pipe_ends[1], 1);
        } else {
            Redirect(output == Output::Full ? "/dev/full" : io.Path("out"),
                     O_WRONLY | O_CREAT | O_TRUNC, 1);
        }
        Redirect(io.Path("err"), O_WRONLY | O_CREAT | O_TRUNC, 2);
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
            ::unsetenv(name);
        }
        ::execv(RV_PROGRAM, argv.data());
        ::_exit(127);
    }
    if (output == Output::ClosedPipe) {
        ::close(pipe_ends[1]);
    }
    if (meanwhile) {
        meanwhile(pid);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status), ReadWhole(io.Path("out")),
            ReadWhole(io.Path("err"))};
}

ProgramFolders::ProgramFolders() {
    MakeGameFolder(Path("game"));
    std::filesystem::create_directories(Path("bare/System"));
    AddFile("add/a.rv2");
    AddFile("add/c.u");
    AddFile("game/System/c.u");
    AddFile("other/c.u", "another version");
    registry.Register({{"RV2004", Path("game")}});
}

std::string ProgramFolders::Path(const std::string& relative) const {
    return registry.Root() + "/t/" + relative;
}

std::vector<std::string> ProgramFolders::Expand(std::vector<std::string> arguments) const {
    for (std::string& argument : arguments) {
        for (const char* folder : {"add", "game", "bare", "many", "other"}) {
            const std::string token = text::UpperAscii(folder);
            if (argument.starts_with("WIN" + token)) {
                argument = registry.Shown(Path(folder)) + argument.substr(token.size() + 3);
            } else if (argument.starts_with(token)) {
                argument = Path(folder) + argument.substr(token.size());
            }
        }
    }
    return arguments;
}

void ProgramFolders::AddFile(const std::string& relative, const std::string& content) const {
    std::filesystem::create_directories(std::filesystem::path(Path(relative)).parent_path());
    std::ofstream(Path(relative), std::ios::binary) << content;
}

bool TerminalSafe(const std::string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const bool c1 = byte == 0xC2 && i + 1 < text.size() &&
                        static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
                        static_cast<unsigned char>(text[i + 1]) <= 0x9F;
        if ((byte < 0x20 && byte != '\n') || byte == 0x7F || c1) {
            return false;
        }
    }
    return true;
}

}  // namespace rv::test
