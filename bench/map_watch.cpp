// Starts a program and reports, to the millisecond, when each of its top-level
// windows appears on the X display: the MapNotify of a new child of the root
// window (a window manager's frame, or an override-redirect window). Used by
// process_bench.sh to time start-up without polling.
//
// Usage: korvel_map_watch [--windows N] [--timeout SECONDS] [--prepare COMMAND]
//                         [--then COMMAND] -- PROGRAM [ARGS...]
// Prints "pid P" once the program is started, then for each window
// "map MS ID NAME", MS counted from just before the program was started. After
// the first window, runs the prepare COMMAND and then the then COMMAND with the
// shell (a "%w" in either stands for the window's id), and prints
// "then START_MS END_MS" for the latter. Stops after N windows (1 by default),
// at the timeout (10 s) or when the program ends; the program itself is left
// running.
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeDeleter>;

xcb_atom_t atom(xcb_connection_t* x, const char* name) {
    const Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        x, xcb_intern_atom(x, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

std::string property(xcb_connection_t* x, xcb_window_t window, xcb_atom_t name) {
    const Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        x, xcb_get_property(x, 0, window, name, XCB_GET_PROPERTY_TYPE_ANY, 0, 256), nullptr));
    if (!reply || reply->format != 8) {
        return {};
    }
    return {static_cast<const char*>(xcb_get_property_value(reply.get())),
            static_cast<std::size_t>(xcb_get_property_value_length(reply.get()))};
}

// The title of the client in a frame: the window itself or one below it.
std::string title(xcb_connection_t* x, xcb_window_t window, xcb_atom_t netName, int depth = 0) {
    std::string name = property(x, window, netName);
    if (name.empty()) {
        name = property(x, window, XCB_ATOM_WM_NAME);
    }
    if (!name.empty() || depth == 3) {
        return name;
    }
    const Reply<xcb_query_tree_reply_t> tree(
        xcb_query_tree_reply(x, xcb_query_tree(x, window), nullptr));
    if (!tree) {
        return {};
    }
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
        name = title(x, children[i], netName, depth + 1);
        if (!name.empty()) {
            return name;
        }
    }
    return {};
}

// The innermost window that carries a title: the client that %w names.
xcb_window_t client(xcb_connection_t* x, xcb_window_t window, xcb_atom_t netName, int depth = 0) {
    if (!property(x, window, netName).empty() || !property(x, window, XCB_ATOM_WM_NAME).empty() ||
        depth == 3) {
        return window;
    }
    const Reply<xcb_query_tree_reply_t> tree(
        xcb_query_tree_reply(x, xcb_query_tree(x, window), nullptr));
    if (!tree) {
        return window;
    }
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
        if (!title(x, children[i], netName, depth + 1).empty()) {
            return client(x, children[i], netName, depth + 1);
        }
    }
    return window;
}

std::string withWindow(std::string command, const std::string& id) {
    for (auto at = command.find("%w"); at != std::string::npos; at = command.find("%w")) {
        command.replace(at, 2, id);
    }
    return command;
}

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

}  // namespace

int main(int argc, char* argv[]) {
    int wanted = 1;
    double timeoutSeconds = 10;
    std::string prepare;
    std::string then;
    int first = 1;
    for (; first < argc; ++first) {
        const std::string arg = argv[first];
        if (arg == "--" || first + 1 >= argc) {
            first += arg == "--" ? 1 : 0;
            break;
        }
        if (arg == "--windows") {
            wanted = std::atoi(argv[++first]);
        } else if (arg == "--timeout") {
            timeoutSeconds = std::atof(argv[++first]);
        } else if (arg == "--prepare") {
            prepare = argv[++first];
        } else if (arg == "--then") {
            then = argv[++first];
        } else {
            break;
        }
    }
    if (first >= argc) {
        std::fputs(
            "usage: korvel_map_watch [--windows N] [--timeout S] [--then CMD] -- PROGRAM...\n",
            stderr);
        return 2;
    }

    xcb_connection_t* x = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(x) != 0) {
        std::fputs("korvel_map_watch: cannot open the display\n", stderr);
        return 1;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(x, root, XCB_CW_EVENT_MASK, &mask);
    const xcb_atom_t netName = atom(x, "_NET_WM_NAME");
    xcb_flush(x);

    const Clock::time_point start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[first], argv + first);
        std::perror("korvel_map_watch: exec");
        _exit(127);
    }
    std::printf("pid %d\n", static_cast<int>(pid));
    std::fflush(stdout);

    int seen = 0;
    pollfd fd{xcb_get_file_descriptor(x), POLLIN, 0};
    while (seen < wanted && msSince(start) < timeoutSeconds * 1000) {
        if (waitpid(pid, nullptr, WNOHANG) == pid) {
            std::puts("ended");
            return 1;
        }
        poll(&fd, 1, 20);
        while (const Reply<xcb_generic_event_t> event{xcb_poll_for_event(x)}) {
            if ((event->response_type & 0x7F) != XCB_MAP_NOTIFY) {
                continue;
            }
            const auto* map = reinterpret_cast<const xcb_map_notify_event_t*>(event.get());
            if (map->event != root) {
                continue;
            }
            const double at = msSince(start);
            std::printf("map %.1f 0x%x %s\n", at, map->window,
                        title(x, map->window, netName).c_str());
            std::fflush(stdout);
            if (++seen == 1 && !then.empty()) {
                const std::string id = std::to_string(client(x, map->window, netName));
                if (!prepare.empty()) {
                    std::system(withWindow(prepare, id).c_str());
                }
                const double before = msSince(start);
                const int status = std::system(withWindow(then, id).c_str());
                std::printf("then %.1f %.1f %d\n", before, msSince(start), status);
                std::fflush(stdout);
            }
        }
    }
    xcb_disconnect(x);
    return seen == wanted ? 0 : 1;
}
