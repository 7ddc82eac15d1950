#include "support/ToolRunner.h"

#include "support/TempDir.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

extern char** environ;

namespace olv::test {
namespace {

std::vector<char*> Pointers(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts)
        pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

} // namespace

ToolRun RunTool(const std::string& program, const std::vector<std::string>& arguments,
                const std::vector<std::string>& environment, const std::string& workFolder) {
    std::vector<std::string> argv{std::string(OLVENAR_BINARY_DIR) + "/" + program};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    // The first of two settings of a name is the one that counts.
    std::vector<std::string> env = environment;
    for (char** variable = environ; *variable != nullptr; ++variable)
        env.emplace_back(*variable);

    const TempDir capture;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, workFolder.c_str());
    // A program under test never waits for a person at the terminal.
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, capture.File("out").c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, capture.File("err").c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const auto started = std::chrono::steady_clock::now();
    ToolRun run;
    pid_t pid = -1;
    if (posix_spawn(&pid, argv[0].c_str(), &actions, nullptr, Pointers(argv).data(),
                    Pointers(env).data()) == 0) {
        int status = 0;
        rusage usage{};
        ::wait4(pid, &status, 0, &usage);
        run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        const auto ms = [](const timeval& time) {
            return std::chrono::milliseconds(time.tv_sec * 1000 + time.tv_usec / 1000);
        };
        run.Cpu = ms(usage.ru_utime) + ms(usage.ru_stime);
    }
    posix_spawn_file_actions_destroy(&actions);
    run.Took = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - started);
    run.Out = capture.Read("out");
    run.Err = capture.Read("err");
    return run;
}

} // namespace olv::test
