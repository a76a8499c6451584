// First paint: from starting a viewer on a picture to the first frame on the
// X server that shows the picture, for Lumeno and, where it is installed, for
// feh on the same file, in turns (Lumeno, feh, Lumeno, feh...); the medians
// are compared. The child's peak resident memory (VmHWM) is read the moment
// the picture appears and compared with the 4 bytes a pixel the picture
// needs (with --memory). Reported, not asserted.
//
//   bench_firstpaint --picture FILE --size WxH --label TEXT --lumeno PATH
//                    [--feh PATH] [--qt PATH] [--rounds N]
//                    [--goal "<= 0.80"] [--memory [--memory-goal "<= 1.25"]]
//
// Runs on the X server DISPLAY names (a private Xvfb without a window
// manager: windows open where they ask to). The picture must carry the
// marker that bench_pictures paints: 32 x 32 squares of (255, 0, 255) at a
// pitch of 128, so that any 160 x 160 part of it shows one whole square (a
// picture under 160 pixels has one square in its middle). The poller reads
// a 160 x 160 area where each viewer must show the picture at zoom 1, every
// millisecond, with xcb_get_image, and counts marker pixels there; neither
// viewer draws that colour before the picture.
//   Lumeno: the window opens at 50,100 with 900 x 700 (its defaults, from an
//     empty settings folder); the view below the 32-pixel toolbar centres
//     the picture, so the area is the one around the view's centre.
//   feh: its window opens at 0,0 as large as the picture, at most the
//     screen, and shows the picture's middle at zoom 1 when the picture is
//     larger, so the area is the one around the window's centre.
//   --qt: a bare Qt program (bench_qtviewer) that decodes the picture with
//     QImageReader and paints it where Lumeno would: the toolkit's own floor.
// The clock starts just before fork() (fork and exec of the child included,
// well under a millisecond); the child is killed as soon as the picture is
// seen, and the next round starts only when the marker is gone from the
// screen.

#include <xcb/xcb.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Area
{
    int x = 0, y = 0, width = 0, height = 0;
};

struct Viewer
{
    std::string name;
    std::string path;
    Area area;                 // where the marker must appear, on the screen
    std::vector<double> times; // milliseconds, one a round
    std::vector<double> peaks; // bytes, one a round
};

struct Options
{
    std::string picture, label, lumeno, feh, qt;
    std::string goal = "-", memoryGoal = "-";
    int width = 0, height = 0;
    int rounds = 5;
    bool memory = false;
};

[[noreturn]] void fail(const std::string &message)
{
    std::fprintf(stderr, "bench_firstpaint: %s\n", message.c_str());
    std::exit(1);
}

Options parse(int argc, char *argv[])
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string key = argv[i];
        if (key == "--memory") {
            options.memory = true;
            continue;
        }
        if (i + 1 >= argc)
            fail("no value after " + key);
        const std::string value = argv[++i];
        if (key == "--picture")
            options.picture = value;
        else if (key == "--label")
            options.label = value;
        else if (key == "--lumeno")
            options.lumeno = value;
        else if (key == "--feh")
            options.feh = value;
        else if (key == "--qt")
            options.qt = value;
        else if (key == "--goal")
            options.goal = value;
        else if (key == "--memory-goal")
            options.memoryGoal = value;
        else if (key == "--rounds")
            options.rounds = std::max(1, std::atoi(value.c_str()));
        else if (key == "--size" &&
                 std::sscanf(value.c_str(), "%dx%d", &options.width, &options.height) == 2)
            continue;
        else
            fail("unknown option " + key + " " + value);
    }
    if (options.picture.empty() || options.lumeno.empty() || options.width <= 0 ||
        options.height <= 0)
        fail("--picture, --size and --lumeno are needed");
    if (options.label.empty())
        options.label = options.picture;
    return options;
}

// A square of at most 160 x 160 screen pixels around (cx, cy), inside both
// the screen and the rectangle the picture covers there.
Area areaAround(int cx, int cy, int left, int top, int width, int height, int screenWidth,
                int screenHeight)
{
    const int x0 = std::max({cx - 80, left, 0});
    const int y0 = std::max({cy - 80, top, 0});
    const int x1 = std::min({cx + 80, left + width, screenWidth});
    const int y1 = std::min({cy + 80, top + height, screenHeight});
    return {x0, y0, std::max(0, x1 - x0), std::max(0, y1 - y0)};
}

// Marker pixels in the area: the colour survives JPEG within these bounds,
// and nothing else either viewer draws comes near it.
int markerPixels(xcb_connection_t *connection, xcb_window_t root, const Area &area)
{
    xcb_get_image_cookie_t cookie =
        xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, root, int16_t(area.x), int16_t(area.y),
                      uint16_t(area.width), uint16_t(area.height), ~0u);
    xcb_get_image_reply_t *reply = xcb_get_image_reply(connection, cookie, nullptr);
    if (!reply)
        return 0;
    const uint8_t *data = xcb_get_image_data(reply);
    const int length = xcb_get_image_data_length(reply);
    int count = 0;
    // 24-bit depth: 32 bits a pixel, blue first.
    for (int i = 0; i + 3 < length; i += 4) {
        if (data[i + 2] >= 200 && data[i + 1] <= 60 && data[i] >= 200)
            ++count;
    }
    std::free(reply);
    return count;
}

double peakBytes(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::atof(line.c_str() + 6) * 1024;
    }
    return 0;
}

// Starts the viewer on the picture with an empty settings folder of its own,
// its output thrown away.
pid_t start(const Viewer &viewer, const std::string &picture, const std::string &config)
{
    const pid_t pid = fork();
    if (pid < 0)
        fail("fork failed");
    if (pid == 0) {
        setenv("XDG_CONFIG_HOME", config.c_str(), 1);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        execl(viewer.path.c_str(), viewer.path.c_str(), picture.c_str(),
              static_cast<char *>(nullptr));
        _exit(127);
    }
    return pid;
}

// One round of one viewer: milliseconds until the marker shows, and the peak
// memory then.
void measure(xcb_connection_t *connection, xcb_window_t root, Viewer &viewer,
             const Options &options)
{
    const int threshold = 256; // a quarter of a square
    char config[] = "/tmp/firstpaint-config-XXXXXX";
    if (!mkdtemp(config))
        fail("no temporary folder");

    const Clock::time_point begin = Clock::now();
    const pid_t pid = start(viewer, options.picture, config);
    Clock::time_point next = begin;
    for (;;) {
        if (markerPixels(connection, root, viewer.area) >= threshold)
            break;
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid)
            fail(viewer.name + " ended before it showed " + options.picture);
        if (Clock::now() - begin > std::chrono::seconds(60)) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
            fail(viewer.name + " did not show " + options.picture + " within 60 s");
        }
        next += std::chrono::milliseconds(1);
        std::this_thread::sleep_until(next);
    }
    const double milliseconds =
        std::chrono::duration<double, std::milli>(Clock::now() - begin).count();
    viewer.peaks.push_back(peakBytes(pid));
    viewer.times.push_back(milliseconds);
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);

    // The server closes the window on its own time: wait until the picture
    // is gone, or the next round would find it at once.
    const Clock::time_point killed = Clock::now();
    while (markerPixels(connection, root, viewer.area) >= threshold) {
        if (Clock::now() - killed > std::chrono::seconds(5))
            fail("the picture stayed on the screen after " + viewer.name + " ended");
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    const std::string remove = std::string("rm -rf '") + config + "'";
    if (std::system(remove.c_str()) != 0)
        std::fprintf(stderr, "bench_firstpaint: %s was left behind\n", config);
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

void report(const std::string &what, double figure, double baseline, const char *unit,
            const std::string &goal)
{
    std::printf("BENCH|%s|%.1f %s|%.1f %s|%.2f|%s\n", what.c_str(), figure, unit, baseline, unit,
                figure / baseline, goal.c_str());
}

} // namespace

int main(int argc, char *argv[])
{
    const Options options = parse(argc, argv);
    if (access(options.picture.c_str(), R_OK) != 0)
        fail("cannot read " + options.picture);

    int screenNumber = 0;
    xcb_connection_t *connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(connection))
        fail("cannot connect to the X server (DISPLAY)");
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screenNumber; ++i)
        xcb_screen_next(&screens);
    const xcb_screen_t *screen = screens.data;
    const int sw = screen->width_in_pixels, sh = screen->height_in_pixels;
    const int w = options.width, h = options.height;

    std::vector<Viewer> viewers;
    // Lumeno's and the bare Qt viewer's view: 900 x 668 at 50,132.
    const int vx = 50, vy = 132, vw = 900, vh = 668;
    const int cx = vx + vw / 2, cy = vy + vh / 2;
    const Area centred = areaAround(cx, cy, cx - w / 2, cy - h / 2, w, h, sw, sh);
    viewers.push_back({"Lumeno", options.lumeno, centred, {}, {}});
    if (!options.feh.empty()) {
        const int fw = std::min(w, sw), fh = std::min(h, sh);
        viewers.push_back(
            {"feh", options.feh, areaAround(fw / 2, fh / 2, 0, 0, fw, fh, sw, sh), {}, {}});
    }
    if (!options.qt.empty())
        viewers.push_back({"bare Qt", options.qt, centred, {}, {}});

    // Nothing may show the marker before the first viewer starts.
    for (const Viewer &viewer : viewers) {
        if (viewer.area.width * viewer.area.height < 1024)
            fail("the picture would not be on the screen for " + viewer.name);
        if (markerPixels(connection, screen->root, viewer.area) > 0)
            fail("the screen shows the marker colour already");
    }
    for (int round = 0; round < options.rounds; ++round) {
        for (Viewer &viewer : viewers)
            measure(connection, screen->root, viewer, options);
    }
    xcb_disconnect(connection);

    const double pixelBytes = 4.0 * w * h;
    const Viewer &lumeno = viewers.front();
    const double ours = median(lumeno.times);
    std::printf("%s: first paint %.1f ms (Lumeno)", options.label.c_str(), ours);
    for (size_t i = 1; i < viewers.size(); ++i)
        std::printf(", %.1f ms (%s)", median(viewers[i].times), viewers[i].name.c_str());
    std::printf("; peak memory %.1f MB (Lumeno)", median(lumeno.peaks) / 1e6);
    for (size_t i = 1; i < viewers.size(); ++i)
        std::printf(", %.1f MB (%s)", median(viewers[i].peaks) / 1e6, viewers[i].name.c_str());
    std::printf(", against %.1f MB for 4 bytes a pixel; medians of %d rounds\n", pixelBytes / 1e6,
                options.rounds);

    bool hasFeh = false;
    for (const Viewer &viewer : viewers) {
        if (&viewer == &lumeno)
            continue;
        const bool feh = viewer.name == "feh";
        hasFeh = hasFeh || feh;
        report("first paint, " + options.label + ": Lumeno, against " + viewer.name, ours,
               median(viewer.times), "ms", feh ? options.goal : "-");
    }
    if (!hasFeh) {
        std::printf("BENCH|first paint, %s: Lumeno (feh is not installed)|%.1f ms|-|-|%s\n",
                    options.label.c_str(), ours, options.goal.c_str());
    }
    if (!options.memory)
        return 0;
    report("peak memory at first paint, " + options.label + ": Lumeno, against 4 bytes a pixel",
           median(lumeno.peaks) / 1e6, pixelBytes / 1e6, "MB", options.memoryGoal);
    for (const Viewer &viewer : viewers) {
        if (&viewer != &lumeno)
            report("peak memory at first paint, " + options.label + ": " + viewer.name +
                       ", against 4 bytes a pixel",
                   median(viewer.peaks) / 1e6, pixelBytes / 1e6, "MB", "-");
    }
    return 0;
}
