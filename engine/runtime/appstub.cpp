// The process entry and the application-stub module that starts the program's module.
#include <climits>
#include <unistd.h>

#include "runtime/startup.h"

namespace corvex {

CORVEX_MODULE(appstub, &runtime_module, &application_module) {}

namespace {

class TForeignException : public TException {
public:
    explicit TForeignException(const char* what) : text_(what) {}
    String ToString() const override { return text_; }

private:
    String text_;
};

String ExecutablePath() {
    char buf[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    return n > 0 ? String(std::string_view(buf, n)) : String();
}

}  // namespace

int ApplicationEntry(int argc, char** argv) {
    if (const int status = RunHelperIfAsked(argc, argv); status >= 0) return status;
    InstallSignalHandlers();
    String file = ExecutablePath();
    StartUp(argc, argv, ApplicationDirOf(file), file);
    try {
        InitModule(appstub_module);
        RaisePendingSignal();  // a request that came after the last pump
    } catch (const TException& e) {
        ReportUncaught(e);
    } catch (const std::exception& e) {
        ReportUncaught(TForeignException(e.what()));
    } catch (...) {
        ReportUncaught(TForeignException(kUnknownExceptionText));
    }
    return EndOfBodies();
}

}  // namespace corvex

int main(int argc, char** argv) { return corvex::ApplicationEntry(argc, argv); }
