// Loaded into a program by bench/run.sh (LD_PRELOAD), never into the installed
// program: notes the moment the program first sends painted pixels to the X
// server, that is, when its window first shows something. Qt's X11 back end
// sends a window's pixels with xcb_shm_put_image (shared memory) or, where the
// server has no shared memory, with xcb_put_image; both are passed on
// unchanged. The time (microseconds since the epoch) goes to the file named by
// BENCH_FIRST_PAINT, once.
#include <dlfcn.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

namespace {

std::atomic_flag noted = ATOMIC_FLAG_INIT;

void noteFirstPaint()
{
    if (noted.test_and_set())
        return;
    const char *path = std::getenv("BENCH_FIRST_PAINT");
    if (!path)
        return;
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    // Written under another name and renamed, so that a reader never sees half a line.
    const std::string partial = std::string(path) + ".part";
    if (FILE *file = std::fopen(partial.c_str(), "w")) {
        std::fprintf(file, "%lld\n", static_cast<long long>(now.tv_sec) * 1000000 + now.tv_nsec / 1000);
        std::fclose(file);
        std::rename(partial.c_str(), path);
    }
}

// The library's own function. Qt loads the xcb libraries with its platform
// plugin, out of the global scope that RTLD_NEXT searches, so they are looked
// up by name; they are loaded by then, as their caller needs them.
template<typename Function>
Function next(const char *library, const char *name)
{
    void *function = dlsym(RTLD_NEXT, name);
    if (!function) {
        if (void *handle = dlopen(library, RTLD_LAZY | RTLD_NOLOAD))
            function = dlsym(handle, name);
    }
    if (!function)
        std::abort();
    return reinterpret_cast<Function>(function);
}

} // namespace

extern "C" {

struct xcb_connection_t;
struct xcb_void_cookie_t
{
    unsigned int sequence;
};

xcb_void_cookie_t xcb_shm_put_image(xcb_connection_t *c, uint32_t drawable, uint32_t gc, uint16_t total_width,
                                    uint16_t total_height, uint16_t src_x, uint16_t src_y, uint16_t src_width,
                                    uint16_t src_height, int16_t dst_x, int16_t dst_y, uint8_t depth,
                                    uint8_t format, uint8_t send_event, uint32_t shmseg, uint32_t offset)
{
    static const auto real = next<decltype(&xcb_shm_put_image)>("libxcb-shm.so.0", "xcb_shm_put_image");
    noteFirstPaint();
    return real(c, drawable, gc, total_width, total_height, src_x, src_y, src_width, src_height, dst_x, dst_y,
                depth, format, send_event, shmseg, offset);
}

xcb_void_cookie_t xcb_put_image(xcb_connection_t *c, uint8_t format, uint32_t drawable, uint32_t gc,
                                uint16_t width, uint16_t height, int16_t dst_x, int16_t dst_y, uint8_t left_pad,
                                uint8_t depth, uint32_t data_len, const uint8_t *data)
{
    static const auto real = next<decltype(&xcb_put_image)>("libxcb.so.1", "xcb_put_image");
    noteFirstPaint();
    return real(c, format, drawable, gc, width, height, dst_x, dst_y, left_pad, depth, data_len, data);
}

} // extern "C"
