// How long the program takes from exec to its main window on screen, beside
// a bare Qt Widgets main window (quillon_bench_start_bare) started the same
// way in the same run. Neither program is changed for it: the driver watches
// the X root window for the first top-level window that the started process
// maps (its _NET_WM_PID names the process), takes the time and the process's
// resident memory at that moment, and kills it. The two programs take turns,
// each first in every other round, after one round that is not counted (it
// fills the page cache and lets the program write its first settings).
//
// The programs run with a throwaway HOME and XDG folders, so every run reads
// the same fresh settings, and, when no session bus is given, with a private
// dbus-daemon, as a desktop session has one: the program registers on it.
// The program is started without arguments, as its desktop entry starts it:
// the main window shows and waits for the user, no server is involved.
//
// Usage (under X with the xcb platform):
//   QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x1024x24"
//       build-rel/bench/quillon_bench_start [RUNS [QUILLON [BARE]]]
//   RUNS     counted rounds (11)
//   QUILLON  the program (the build's quillon)
//   BARE     the reference (the build's quillon_bench_start_bare)
#include <xcb/xcb.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Sample {
  double ms = 0;
  double rssMb = 0;
};

struct Program {
  std::string name;
  std::string path;
  std::vector<Sample> samples;
};

[[noreturn]] void die(const std::string& what) {
  std::fprintf(stderr, "quillon_bench_start: %s\n", what.c_str());
  std::exit(1);
}

double rssMb(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::strtod(line.c_str() + 6, nullptr) / 1024.0;
  return 0;
}

class RootWatch {
public:
  RootWatch() {
    m_c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(m_c)) die("no X display (run under xvfb-run)");
    fcntl(xcb_get_file_descriptor(m_c), F_SETFD, FD_CLOEXEC);
    m_root = xcb_setup_roots_iterator(xcb_get_setup(m_c)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(m_c, m_root, XCB_CW_EVENT_MASK, &mask);
    const char name[] = "_NET_WM_PID";
    xcb_intern_atom_reply_t* atom =
        xcb_intern_atom_reply(m_c, xcb_intern_atom(m_c, 0, sizeof name - 1, name), nullptr);
    if (!atom) die("cannot intern _NET_WM_PID");
    m_pidAtom = atom->atom;
    std::free(atom);
    xcb_flush(m_c);
  }
  ~RootWatch() { xcb_disconnect(m_c); }

  // Drops whatever the last program's windows left in the queue.
  void drain() {
    syncWithServer();
    while (xcb_generic_event_t* e = xcb_poll_for_event(m_c)) std::free(e);
  }

  // Waits for `pid` to map a top-level window; false if it exits first or
  // takes longer than the time limit.
  bool waitForMap(pid_t pid, Clock::time_point* mappedAt) {
    const auto deadline = Clock::now() + std::chrono::seconds(30);
    while (Clock::now() < deadline) {
      while (xcb_generic_event_t* e = xcb_poll_for_event(m_c)) {
        const bool mapped = (e->response_type & 0x7f) == XCB_MAP_NOTIFY;
        const auto at = Clock::now();
        if (mapped) {
          const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(e);
          // Menus and tool tips bypass the window manager; a main window does not.
          if (!map->override_redirect && windowPid(map->window) == pid) {
            std::free(e);
            *mappedAt = at;
            return true;
          }
        }
        std::free(e);
      }
      if (xcb_connection_has_error(m_c)) die("lost the X display");
      int status = 0;
      if (waitpid(pid, &status, WNOHANG) == pid) return false;
      pollfd p{xcb_get_file_descriptor(m_c), POLLIN, 0};
      poll(&p, 1, 20);
    }
    return false;
  }

private:
  void syncWithServer() { std::free(xcb_get_input_focus_reply(m_c, xcb_get_input_focus(m_c), nullptr)); }

  pid_t windowPid(xcb_window_t w) {
    xcb_get_property_reply_t* r =
        xcb_get_property_reply(m_c, xcb_get_property(m_c, 0, w, m_pidAtom, XCB_ATOM_CARDINAL, 0, 1), nullptr);
    pid_t pid = -1;
    if (r && xcb_get_property_value_length(r) == 4) pid = *static_cast<uint32_t*>(xcb_get_property_value(r));
    std::free(r);
    return pid;
  }

  xcb_connection_t* m_c = nullptr;
  xcb_window_t m_root = 0;
  xcb_atom_t m_pidAtom = 0;
};

// A session bus of the run's own, as a desktop session provides one.
pid_t startSessionBus() {
  int fds[2];
  if (pipe(fds) != 0) die("pipe");
  const pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    // Its complaint that it may not raise the descriptor limit is noise here.
    const int quiet = open("/dev/null", O_WRONLY);
    if (quiet >= 0) dup2(quiet, 2);
    const std::string fd = "--print-address=" + std::to_string(fds[1]);
    execlp("dbus-daemon", "dbus-daemon", "--session", "--nofork", fd.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fds[1]);
  std::string address;
  char ch = 0;
  while (read(fds[0], &ch, 1) == 1 && ch != '\n') address += ch;
  close(fds[0]);
  if (address.empty()) die("dbus-daemon did not start");
  setenv("DBUS_SESSION_BUS_ADDRESS", address.c_str(), 1);
  return pid;
}

std::string makeHome() {
  char pattern[] = "/tmp/quillon-start-XXXXXX";
  if (!mkdtemp(pattern)) die("cannot make a temporary HOME");
  const std::string home = pattern;
  for (const char* sub : {"/config", "/cache", "/data", "/runtime"}) mkdir((home + sub).c_str(), 0700);
  setenv("HOME", home.c_str(), 1);
  setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
  setenv("XDG_CACHE_HOME", (home + "/cache").c_str(), 1);
  setenv("XDG_DATA_HOME", (home + "/data").c_str(), 1);
  setenv("XDG_RUNTIME_DIR", (home + "/runtime").c_str(), 1);
  return home;
}

Sample runOnce(RootWatch& watch, const Program& program, const std::string& log) {
  watch.drain();
  const auto start = Clock::now();
  const pid_t pid = fork();
  if (pid < 0) die("fork");
  if (pid == 0) {
    const int out = open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    if (out >= 0) {
      dup2(out, 1);
      dup2(out, 2);
    }
    execl(program.path.c_str(), program.path.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  Clock::time_point mapped;
  const bool ok = watch.waitForMap(pid, &mapped);
  Sample s;
  if (ok) s.rssMb = rssMb(pid);
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
  if (!ok) die(program.name + " showed no window (see " + log + ")");
  s.ms = std::chrono::duration<double, std::milli>(mapped - start).count();
  return s;
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 11;
  std::vector<Program> programs = {
      {"quillon", argc > 2 ? argv[2] : QUILLON_PATH, {}},
      {"bare Qt main window", argc > 3 ? argv[3] : BARE_PATH, {}},
  };
  for (const auto& p : programs)
    if (access(p.path.c_str(), X_OK) != 0) die("cannot run " + p.path);

  const std::string home = makeHome();
  pid_t bus = 0;
  if (!std::getenv("DBUS_SESSION_BUS_ADDRESS")) bus = startSessionBus();
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "xcb", 1);
  RootWatch watch;

  for (int round = 0; round <= rounds; ++round) {
    for (int k = 0; k < 2; ++k) {
      Program& p = programs[(round + k) % 2];
      const Sample s = runOnce(watch, p, home + "/" + (&p == &programs[0] ? "quillon" : "bare") + ".log");
      if (round > 0) p.samples.push_back(s);
    }
  }
  if (bus > 0) {
    kill(bus, SIGTERM);
    waitpid(bus, nullptr, 0);
  }

  std::printf("exec to mapped main window, %d rounds (taking turns), QT_QPA_PLATFORM=%s\n\n", rounds,
              std::getenv("QT_QPA_PLATFORM"));
  std::printf("| Program | median ms | min ms | median RSS MB | min RSS MB |\n|---|---|---|---|---|\n");
  double medians[2] = {0, 0};
  double rss[2] = {0, 0};
  for (int i = 0; i < 2; ++i) {
    std::vector<double> ms, mb;
    for (const auto& s : programs[i].samples) {
      ms.push_back(s.ms);
      mb.push_back(s.rssMb);
    }
    medians[i] = median(ms);
    rss[i] = median(mb);
    std::printf("| %s | %.1f | %.1f | %.1f | %.1f |\n", programs[i].name.c_str(), medians[i],
                *std::min_element(ms.begin(), ms.end()), rss[i], *std::min_element(mb.begin(), mb.end()));
  }
  std::printf("\nratio of medians: time %.2f, resident memory %.2f\n", medians[0] / medians[1],
              rss[0] / rss[1]);
  std::filesystem::remove_all(home);
  return 0;
}
