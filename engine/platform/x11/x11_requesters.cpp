#include "x11/x11_requesters.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "runtime/startup.h"
#include "x11/x11_input.h"

extern char** environ;

namespace corvex {

namespace {

using Args = std::vector<std::string>;

struct Outcome {
    bool ran = false;
    int status = -1;
    std::string output;  // standard output, without the final line break
};

bool OnPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "";
    for (size_t start = 0; start <= dirs.size();) {
        size_t end = dirs.find(':', start);
        if (end == std::string::npos) end = dirs.size();
        std::string dir = end > start ? dirs.substr(start, end - start) : ".";
        if (access((dir + "/" + program).c_str(), X_OK) == 0) return true;
        start = end + 1;
    }
    return false;
}

// Runs the program and waits for it, with its standard output captured or discarded.
// A program that only hands work on (xdg-open) must not share our pipe: what it leaves
// running would hold the pipe open and keep us reading until that has ended too.
Outcome Run(const Args& args, bool captureOutput = true) {
    Outcome outcome;
    int out[2];
    if (pipe2(out, O_CLOEXEC) != 0) return outcome;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (captureOutput) posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    else posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid;
    int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (spawned == 0) {
        char buffer[4096];
        for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0 || (n < 0 && errno == EINTR);) {
            if (n > 0) outcome.output.append(buffer, static_cast<size_t>(n));
        }
        int status = 0;
        pid_t waited;
        while ((waited = waitpid(pid, &status, 0)) < 0 && errno == EINTR) {
        }
        // Without the child's status (SIGCHLD ignored: it was reaped unseen) the answer
        // is unknown, which counts as "no", never as OK.
        outcome.ran = waited == pid && WIFEXITED(status);
        outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        while (!outcome.output.empty() && outcome.output.back() == '\n') outcome.output.pop_back();
    }
    close(out[0]);
    return outcome;
}

enum class Toolkit { Missing, Zenity, KDialog };

Toolkit AvailableToolkit() {
    if (OnPath("zenity")) return Toolkit::Zenity;
    if (OnPath("kdialog")) return Toolkit::KDialog;
    return Toolkit::Missing;
}

// Gives the focus back to the program window that had it before a dialog took it.
class FocusKeeper {
public:
    FocusKeeper() {
        if (Display* d = X11Display()) XGetInputFocus(d, &focus_, &revert_);
    }
    // A window unmapped meanwhile (minimised, say) cannot take the focus: asking would be
    // an X error, which ends the program.
    ~FocusKeeper() {
        Display* d = X11Display();
        XWindowAttributes attributes;
        if (d && X11FindWindow(focus_) && XGetWindowAttributes(d, focus_, &attributes) &&
            attributes.map_state == IsViewable) {
            XSetInputFocus(d, focus_, revert_, CurrentTime);
            XFlush(d);
        }
    }

private:
    Window focus_ = 0;
    int revert_ = RevertToParent;
};

Outcome Ask(Args args) {
    FocusKeeper keeper;
    return Run(args);
}

std::string Title() { return ApplicationTitle.ToUtf8(); }

constexpr const char* kProceedNo = "No";

struct FilterGroup {
    std::string name;
    std::vector<std::string> patterns;
};

// "Images:png,jpg;Text:txt" → {Images: *.png *.jpg}, {Text: *.txt}; a group without a
// name is named after its patterns.
std::vector<FilterGroup> FilterGroups(const std::string& exts) {
    std::vector<FilterGroup> groups;
    size_t start = 0;
    while (start < exts.size()) {
        size_t end = exts.find(';', start);
        if (end == std::string::npos) end = exts.size();
        std::string group = exts.substr(start, end - start);
        start = end + 1;
        FilterGroup g;
        size_t colon = group.find(':');
        std::string list = colon == std::string::npos ? group : group.substr(colon + 1);
        for (size_t at = 0; at <= list.size();) {
            size_t comma = list.find(',', at);
            if (comma == std::string::npos) comma = list.size();
            std::string ext = list.substr(at, comma - at);
            if (!ext.empty()) g.patterns.push_back(ext == "*" ? "*" : "*." + ext);
            at = comma + 1;
        }
        if (g.patterns.empty()) continue;
        g.name = colon == std::string::npos ? list : group.substr(0, colon);
        groups.push_back(g);
    }
    return groups;
}

std::string Joined(const std::vector<std::string>& words) {
    std::string text;
    for (const auto& w : words) text += (text.empty() ? "" : " ") + w;
    return text;
}

String ChosenPath(const Outcome& o) { return o.ran && o.status == 0 ? String(o.output) : String(); }

}  // namespace

void DesktopNotify(const String& text, int serious) {
    switch (AvailableToolkit()) {
        case Toolkit::Zenity:
            Ask({"zenity", serious ? "--warning" : "--info", "--no-markup", "--title=" + Title(),
                 "--text=" + text.ToUtf8()});
            break;
        case Toolkit::KDialog:
            Ask({"kdialog", "--title", Title(), serious ? "--sorry" : "--msgbox", text.ToUtf8()});
            break;
        case Toolkit::Missing: break;
    }
}

int DesktopConfirm(const String& text, int serious) {
    Outcome o;
    switch (AvailableToolkit()) {
        case Toolkit::Zenity:
            o = Ask({"zenity", "--question", "--no-markup", "--title=" + Title(), "--text=" + text.ToUtf8(),
                     "--ok-label=OK", "--cancel-label=Cancel"});
            break;
        case Toolkit::KDialog:
            o = Ask({"kdialog", "--title", Title(), serious ? "--warningyesno" : "--yesno", text.ToUtf8(),
                     "--yes-label", "OK", "--no-label", "Cancel"});
            break;
        case Toolkit::Missing: return 0;
    }
    return o.ran && o.status == 0 ? 1 : 0;
}

int DesktopProceed(const String& text, int serious) {
    switch (AvailableToolkit()) {
        case Toolkit::Zenity: {
            // Cancel, Escape and closing the box all end the dialog with status 1 and no
            // output, so "No" is the extra button: its label comes back on standard output.
            Outcome o = Ask({"zenity", "--question", "--no-markup", "--title=" + Title(), "--text=" + text.ToUtf8(),
                             "--ok-label=Yes", "--cancel-label=Cancel", "--extra-button=" + std::string(kProceedNo)});
            if (!o.ran) return -1;
            if (o.status == 0) return 1;
            return o.status == 1 && o.output == kProceedNo ? 0 : -1;
        }
        case Toolkit::KDialog: {
            Outcome o = Ask(
                {"kdialog", "--title", Title(), serious ? "--warningyesnocancel" : "--yesnocancel", text.ToUtf8()});
            if (o.ran && o.status == 0) return 1;
            return o.ran && o.status == 1 ? 0 : -1;
        }
        case Toolkit::Missing: break;
    }
    return -1;
}

String DesktopRequestFile(const String& text, const String& exts, int save, const String& path) {
    auto groups = FilterGroups(exts.ToUtf8());
    switch (AvailableToolkit()) {
        case Toolkit::Zenity: {
            Args args{"zenity", "--file-selection", "--title=" + text.ToUtf8()};
            if (save) args.insert(args.end(), {"--save", "--confirm-overwrite"});
            if (!path.IsEmpty()) args.push_back("--filename=" + path.ToUtf8());
            for (const auto& g : groups) args.push_back("--file-filter=" + g.name + " | " + Joined(g.patterns));
            return ChosenPath(Ask(args));
        }
        case Toolkit::KDialog: {
            std::string filter;
            for (const auto& g : groups) filter += (filter.empty() ? "" : "\n") + Joined(g.patterns) + "|" + g.name;
            Args args{"kdialog", "--title", text.ToUtf8(), save ? "--getsavefilename" : "--getopenfilename",
                      path.IsEmpty() ? "." : path.ToUtf8()};
            if (!filter.empty()) args.push_back(filter);
            return ChosenPath(Ask(args));
        }
        case Toolkit::Missing: break;
    }
    return String();
}

String DesktopRequestDir(const String& text, const String& path) {
    switch (AvailableToolkit()) {
        case Toolkit::Zenity: {
            Args args{"zenity", "--file-selection", "--directory", "--title=" + text.ToUtf8()};
            if (!path.IsEmpty()) args.push_back("--filename=" + path.ToUtf8() + "/");
            return ChosenPath(Ask(args));
        }
        case Toolkit::KDialog:
            return ChosenPath(Ask(
                {"kdialog", "--title", text.ToUtf8(), "--getexistingdirectory", path.IsEmpty() ? "." : path.ToUtf8()}));
        case Toolkit::Missing: break;
    }
    return String();
}

int DesktopOpenURL(const String& url) {
    if (!OnPath("xdg-open")) return 0;
    Outcome o = Run({"xdg-open", url.ToUtf8()}, false);
    return o.ran && o.status == 0 ? 1 : 0;
}

}  // namespace corvex
