// SPDX-License-Identifier: GPL-3.0-or-later
#include "process_run.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

extern char** environ;

namespace kerf::testing {
namespace {

std::string contentOf(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

ProcessRun runProcess(const std::vector<std::string>& args, const std::string& stdoutPath,
                      const std::string& stdinPath, const std::string& setup)
{
    char folder[] = "/tmp/kerf-run-XXXXXX";
    if (!::mkdtemp(folder))
        return {-1, "", "no temporary folder"};
    const std::string outPath = stdoutPath.empty() ? std::string(folder) + "/out" : stdoutPath;
    const std::string errPath = std::string(folder) + "/err";

    std::vector<std::string> words = {KERF_CLI_PATH};
    if (!setup.empty())
        words = {"/bin/sh", "-c", setup + " && exec \"$0\" \"$@\"", KERF_CLI_PATH};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, stdinPath.c_str(), O_RDONLY, 0);
    int pipe[2] = {-1, -1};
    if (stdoutPath == ClosedPipe && ::pipe(pipe) == 0) {
        ::close(pipe[0]);
        posix_spawn_file_actions_adddup2(&actions, pipe[1], 1);
    } else {
        posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    }
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, words.front().c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (pipe[1] >= 0)
        ::close(pipe[1]);
    int status = 0;
    if (spawned != 0 || ::waitpid(child, &status, 0) != child)
        status = -1;
    ProcessRun run{WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status),
                   stdoutPath.empty() ? contentOf(outPath) : "", contentOf(errPath)};
    std::filesystem::remove_all(folder);
    return run;
}

} // namespace kerf::testing
