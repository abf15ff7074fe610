// The real program, started as a player starts it, seen and closed from the
// outside through the X server (run under Xvfb).
#include "support/FileText.h"
#include "support/PrivateDisplay.h"
#include "support/TempFolder.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <sstream>
#include <stb_image_write.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>
// Last: Xlib's macros (None, Status, Bool) would break the headers above.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// How long a step of the program may take before the test calls it hung:
// far past the slowest seen, a start of about 70 s under the sanitizers on
// a machine loaded three times over, and within CTest's ten minutes for
// the four steps together.
constexpr auto kHangPatience = 120s;

// How the player starts it: from the build folder (which holds data/, as
// scripts/play.sh does) on the test's display, unless told otherwise.
struct StartedAs {
    bool fromItsHome = false;
    bool withoutDisplay = false;
    // As a launcher may: descriptor 0 closed.
    bool withoutStandardInput = false;
};

// The program in a process of its own, with a home of its own (so no
// player's configuration is read or written) and its messages in a file.
class RunningProgram {
public:
    explicit RunningProgram(StartedAs how = {}) : mHow(how)
    {
        mProgram = std::filesystem::absolute("solvane").string();
        mHome = MakeTempFolder("solvane-run");
        mMessages = mHome + "/messages.txt";
        mPid = fork();
        if (mPid == 0)
            Exec();
    }
    ~RunningProgram()
    {
        if (mPid > 0 && !mStatus) {
            kill(mPid, SIGKILL);
            waitpid(mPid, nullptr, 0);
        }
        std::error_code ignored;
        std::filesystem::remove_all(mHome, ignored);
    }
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    bool Started() const { return mPid > 0 && !mHome.empty(); }
    pid_t Pid() const { return mPid; }
    std::string Messages() const { return ReadFileText(mMessages); }
    // What the process holds as descriptor fd ("/dev/null", "socket:[...]").
    std::string Descriptor(int fd) const
    {
        std::error_code error;
        const auto target = std::filesystem::read_symlink(
            "/proc/" + std::to_string(mPid) + "/fd/" + std::to_string(fd), error);
        return error ? "closed" : target.string();
    }

    // The exit status once the process ended within the time given.
    std::optional<int> WaitForExit(Clock::duration patience)
    {
        const auto until = Clock::now() + patience;
        while (!mStatus && Clock::now() < until) {
            int status = 0;
            if (waitpid(mPid, &status, WNOHANG) == mPid)
                mStatus = status;
            else
                std::this_thread::sleep_for(50ms);
        }
        return mStatus;
    }

private:
    [[noreturn]] void Exec()
    {
        setenv("HOME", mHome.c_str(), 1);
        unsetenv("XDG_DOCUMENTS_DIR");
        // No shader cache in the new home: the driver's writer thread may
        // still run at exit, where the leak checker stops the world.
        setenv("MESA_SHADER_CACHE_DISABLE", "true", 1);
        const int out = open(mMessages.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (out >= 0) {
            dup2(out, STDOUT_FILENO);
            dup2(out, STDERR_FILENO);
        }
        if (mHow.withoutStandardInput)
            close(STDIN_FILENO);
        if (mHow.fromItsHome && chdir(mHome.c_str()) != 0)
            _exit(126);
        if (mHow.withoutDisplay) {
            unsetenv("DISPLAY");
            unsetenv("WAYLAND_DISPLAY");
            unsetenv("SDL_VIDEODRIVER");
        }
        execl(mProgram.c_str(), "solvane", static_cast<char*>(nullptr));
        _exit(127);
    }

    StartedAs mHow;
    std::string mProgram;
    std::string mHome;
    std::string mMessages;
    pid_t mPid = -1;
    std::optional<int> mStatus;
};

std::string NameOf(Display* display, Window window)
{
    char* name = nullptr;
    std::string text;
    if (XFetchName(display, window, &name) && name)
        text = name;
    if (name)
        XFree(name);
    return text;
}

// The process that made the window, as SDL records it (_NET_WM_PID).
long OwnerOf(Display* display, Window window)
{
    const Atom property = XInternAtom(display, "_NET_WM_PID", True);
    if (property == 0)
        return -1;
    Atom type = 0;
    int format = 0;
    unsigned long items = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    long pid = -1;
    if (XGetWindowProperty(display, window, property, 0, 1, False, XA_CARDINAL, &type, &format, &items, &after,
                           &data) == Success &&
        data && items == 1 && format == 32)
        pid = static_cast<long>(*reinterpret_cast<unsigned long*>(data));
    if (data)
        XFree(data);
    return pid;
}

// A window the program drops while its tree is walked (it makes and drops
// windows as it starts) is passed over; Xlib's own handler would end the
// whole test process on it.
XErrorHandler gOtherErrors = nullptr;
int PassOverVanishedWindows(Display* display, XErrorEvent* error)
{
    return error->error_code == BadWindow ? 0 : gOtherErrors(display, error);
}

// The first window with that name made by that process, searching the tree
// from the root. Other tests of the run may show windows of the same name.
Window FindWindowUnder(Display* display, Window under, const std::string& name, long pid)
{
    if (NameOf(display, under) == name && OwnerOf(display, under) == pid)
        return under;
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, under, &root, &parent, &children, &count))
        return 0;
    Window found = 0;
    for (unsigned i = 0; i < count && !found; ++i)
        found = FindWindowUnder(display, children[i], name, pid);
    if (children)
        XFree(children);
    return found;
}

Window FindWindow(Display* display, const std::string& name, long pid)
{
    gOtherErrors = XSetErrorHandler(&PassOverVanishedWindows);
    const Window found = FindWindowUnder(display, DefaultRootWindow(display), name, pid);
    XSync(display, False);
    XSetErrorHandler(gOtherErrors);
    return found;
}

template <class Test>
bool WaitFor(Clock::duration patience, Test test)
{
    const auto until = Clock::now() + patience;
    while (Clock::now() < until) {
        if (test())
            return true;
        std::this_thread::sleep_for(100ms);
    }
    return test();
}

// What the window shows, as rows of RGB from the top.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;

    // How many distinct colours (in steps of 16) the rows y0 to y1 hold.
    std::size_t Colours(int y0, int y1) const
    {
        std::vector<bool> seen(4096, false);
        std::size_t count = 0;
        for (int y = y0; y < y1; y += 4)
            for (int x = 0; x < width; x += 4) {
                const unsigned char* p = &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
                const int key = (p[0] >> 4) << 8 | (p[1] >> 4) << 4 | (p[2] >> 4);
                count += seen[key] ? 0 : 1;
                seen[key] = true;
            }
        return count;
    }
};

Picture Capture(Display* display, Window window)
{
    XWindowAttributes attributes{};
    Picture picture;
    if (!XGetWindowAttributes(display, window, &attributes))
        return picture;
    XImage* image = XGetImage(display, window, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
    if (!image)
        return picture;
    picture.width = attributes.width;
    picture.height = attributes.height;
    picture.rgb.reserve(static_cast<std::size_t>(picture.width) * picture.height * 3);
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x) {
            const unsigned long pixel = XGetPixel(image, x, y);
            picture.rgb.push_back(static_cast<unsigned char>((pixel & image->red_mask) >> 16));
            picture.rgb.push_back(static_cast<unsigned char>((pixel & image->green_mask) >> 8));
            picture.rgb.push_back(static_cast<unsigned char>(pixel & image->blue_mask));
        }
    XDestroyImage(image);
    return picture;
}

void Save(const Picture& picture, const std::string& name)
{
    std::filesystem::create_directories("screenshots");
    const std::string path = "screenshots/" + name + ".png";
    stbi_flip_vertically_on_write(0);
    stbi_write_png(path.c_str(), picture.width, picture.height, 3, picture.rgb.data(), picture.width * 3);
}

// Standard output and error share one file, as on a console: each line
// whole, in the order written. Every shader is read, on standard output,
// before the title empties its scene, on standard error. "" when so, else
// the first line that shows otherwise.
std::string CutOrLateLine(const std::string& messages)
{
    std::istringstream lines(messages);
    std::string line;
    bool sceneSeen = false;
    while (std::getline(lines, line)) {
        const bool shader = line.find(" successfully read") != std::string::npos;
        const bool scene = line.find("[SceneManager]") != std::string::npos;
        if ((shader && !line.starts_with("Shader ")) || (scene && !line.starts_with("[SceneManager]")))
            return "cut into another: " + line;
        if (shader && sceneSeen)
            return "printed after a later line: " + line;
        sceneSeen = sceneSeen || scene;
    }
    return "";
}

// What a window manager sends when the player clicks the close button.
void AskToClose(Display* display, Window window)
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
}

// Started without standard input: what the console would have been is
// /dev/null, not the display's connection, which took the first free number.
// Its output goes to one file, where no line may cut into another.
TEST(Program, StartsIntoTheTitleOverTheArenaAndEndsWellWhenItsWindowIsClosed)
{
    const PrivateDisplay server;
    ASSERT_FALSE(server.Name().empty()) << "Xvfb did not start";
    Display* display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
    RunningProgram program({.withoutStandardInput = true});
    ASSERT_TRUE(program.Started());

    Window window = 0;
    ASSERT_TRUE(WaitFor(kHangPatience, [&] { return (window = FindWindow(display, "Solvane 2", program.Pid())); }))
        << program.Messages();
    // Logo and loading bar take 6 s; then the title's arena goes live.
    ASSERT_TRUE(WaitFor(kHangPatience, [&] { return program.Messages().find("-> Active") != std::string::npos; }))
        << program.Messages();
    // Until the menu shows over the arena, not a cleared screen: both halves
    // hold the arena's colours, the buttons and the logo (the first frames
    // wait for the driver to compile its shaders).
    Picture title;
    const auto drawn = [&] {
        title = Capture(display, window);
        return title.height > 0 && title.Colours(0, title.height / 2) > 8 &&
               title.Colours(title.height / 2, title.height) > 8;
    };
    const bool shown = WaitFor(kHangPatience, drawn);
    Save(title, "program-title");
    EXPECT_TRUE(shown) << "the window shows no title";
    EXPECT_EQ(program.Descriptor(STDIN_FILENO), "/dev/null");

    AskToClose(display, window);
    const std::optional<int> status = program.WaitForExit(kHangPatience);
    ASSERT_TRUE(status.has_value()) << "still running after the window closed";
    EXPECT_TRUE(WIFEXITED(*status)) << "ended by signal " << WTERMSIG(*status);
    EXPECT_EQ(WEXITSTATUS(*status), 0) << program.Messages().substr(0, 4000);
    EXPECT_EQ(CutOrLateLine(program.Messages()), "");
    XCloseDisplay(display);
}

// Each ends at once with one message saying why, and no window.
TEST(Program, StartedWhereItCannotRunSaysWhyAndEnds)
{
    struct Case {
        StartedAs how;
        const char* said;
    };
    const Case cases[] = {
        {{.fromItsHome = true}, "data folder was not found in the working directory"},
        {{.withoutDisplay = true}, "No display could be opened"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.said);
        RunningProgram program(c.how);
        ASSERT_TRUE(program.Started());
        const std::optional<int> status = program.WaitForExit(kHangPatience);
        ASSERT_TRUE(status.has_value()) << "still running: " << program.Messages();
        EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 1) << "status " << *status << ": "
                                                                       << program.Messages();
        EXPECT_NE(program.Messages().find(c.said), std::string::npos) << program.Messages();
    }
}

} // namespace
