// While SDL looks for a sound device, the ALSA library's own complaints are kept quiet (a
// machine without a sound card gets eight lines of them): the one line the player reads
// is ours. The library is the one SDL loads; where it is missing there is nothing to quiet.
#pragma once
#include <dlfcn.h>

class QuietAlsa {
public:
    QuietAlsa() {
        library_ = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
        if (library_) setHandler_ = reinterpret_cast<SetHandler>(dlsym(library_, "snd_lib_error_set_handler"));
        if (setHandler_) setHandler_(Silent);
    }
    ~QuietAlsa() {
        if (setHandler_) setHandler_(nullptr);  // the library's own printing again
        if (library_) dlclose(library_);
    }
    QuietAlsa(const QuietAlsa&) = delete;
    QuietAlsa& operator=(const QuietAlsa&) = delete;

private:
    using Handler = void (*)(const char* file, int line, const char* function, int error, const char* format, ...);
    using SetHandler = int (*)(Handler);
    static void Silent(const char*, int, const char*, int, const char*, ...) {}
    void* library_ = nullptr;
    SetHandler setHandler_ = nullptr;
};
