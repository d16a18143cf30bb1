#pragma once
// Child processes for the application tests: started with extra environment, output to a file,
// waited for with a deadline, and always stopped (TERM, then KILL) when the owner goes.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace qel::test {

// Whether an executable of that name is on PATH.
inline bool HaveProgram(const std::string& Name) {
  const char* path = std::getenv("PATH");
  std::stringstream dirs(path ? path : "");
  std::string dir;
  while (std::getline(dirs, dir, ':'))
    if (!dir.empty() && access((dir + "/" + Name).c_str(), X_OK) == 0) return true;
  return false;
}

class TChild {
 public:
  TChild() = default;
  TChild(const TChild&) = delete;
  TChild& operator=(const TChild&) = delete;
  ~TChild() { Stop(); }

  // Starts Argv[0] (searched on PATH) with Env ("NAME=value", replacing inherited ones) and
  // stdout + stderr going to LogFile. False when it cannot be started.
  bool Start(const std::vector<std::string>& Argv, const std::vector<std::string>& Env,
             const std::string& LogFile) {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
      std::string s = *e;
      bool replaced = false;
      for (const auto& x : Env)
        replaced = replaced || s.substr(0, s.find('=') + 1) == x.substr(0, x.find('=') + 1);
      if (!replaced) env.push_back(s);
    }
    env.insert(env.end(), Env.begin(), Env.end());
    std::vector<char*> argv, envp;
    for (const auto& a : Argv) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    for (const auto& e : env) envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_addopen(&fa, 1, LogFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&fa, 1, 2);
    posix_spawn_file_actions_addopen(&fa, 0, "/dev/null", O_RDONLY, 0);
    int rc = posix_spawnp(&FPid, argv[0], &fa, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&fa);
    if (rc != 0) FPid = -1;
    return rc == 0;
  }

  bool Running() {
    if (FPid <= 0) return false;
    int status;
    pid_t r = waitpid(FPid, &status, WNOHANG);
    if (r == 0) return true;
    FExit = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    FPid = -1;
    return false;
  }

  // Waits up to TimeoutMs for the exit; returns the exit code, or -1 after killing it.
  int Wait(int TimeoutMs) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(TimeoutMs);
    while (Running()) {
      if (std::chrono::steady_clock::now() > end) {
        Stop();
        return -1;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return FExit;
  }

  void Stop() {
    if (!Running()) return;
    kill(FPid, SIGTERM);
    for (int i = 0; i < 100 && Running(); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    if (Running()) {
      kill(FPid, SIGKILL);
      waitpid(FPid, nullptr, 0);
      FPid = -1;
    }
  }

 private:
  pid_t FPid = -1;
  int FExit = -1;
};

inline std::string ReadText(const std::string& File) {
  std::ifstream in(File);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

struct TRunResult {
  int Exit = -1;  // -1: killed at the deadline
  std::string Output;
};

// Runs a command to its end (at most TimeoutMs) and returns its exit code and output.
inline TRunResult RunCommand(const std::vector<std::string>& Argv,
                             const std::vector<std::string>& Env = {}, int TimeoutMs = 10000) {
  static int counter = 0;
  std::string log =
      (std::filesystem::temp_directory_path() /
       ("qel_run_" + std::to_string(getpid()) + "_" + std::to_string(++counter) + ".log"))
          .string();
  TChild child;
  TRunResult r;
  if (!child.Start(Argv, Env, log)) return r;
  r.Exit = child.Wait(TimeoutMs);
  r.Output = ReadText(log);
  std::filesystem::remove(log);
  return r;
}

}  // namespace qel::test
