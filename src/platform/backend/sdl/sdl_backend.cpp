#include "backend/sdl/sdl_backend.h"

#include <SDL2/SDL.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <thread>

#include "backend/display.h"
#include "backend/sdl/sdl_scale.h"
#include "backend/sdl/sdl_x11.h"
#include "core/clock.h"
#include "core/pixel_memory.h"

namespace platform {
namespace {

constexpr int kLargestScreen = 16384;
// How long a display whose socket is there may refuse before the program gives up: an X server
// that is starting, or one resetting because its last client left, answers within that.
constexpr std::chrono::milliseconds kRefusalPatience{1000};
constexpr std::chrono::milliseconds kRefusalRetry{50};
// A live X server answers a new connection at once; half a second without an answer is a
// connection it will never serve.
constexpr std::chrono::milliseconds kAnswerPatience{500};

// Parses "<width>x<height>"; false for anything else.
bool parse_size(std::string_view text, int* width, int* height) {
    const std::size_t cross = text.find('x');
    if (cross == std::string_view::npos) return false;
    const auto number = [](std::string_view part, int* value) {
        const auto [end, error] = std::from_chars(part.data(), part.data() + part.size(), *value);
        return error == std::errc{} && end == part.data() + part.size() && *value > 0 && *value <= kLargestScreen;
    };
    return number(text.substr(0, cross), width) && number(text.substr(cross + 1), height);
}

// The program file's name, which starts the lines the backend writes on stderr for a person to read.
std::string program_name() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : self.filename().string();
}

// One line on stderr for those who watch the program from outside: the milliseconds since the
// clock started, then what happened. The line goes out in one write, since stderr is unbuffered and
// whoever reads it is woken once a write: a pen move traces two lines.
void trace_line(const char* format, ...) {
    char line[256];
    int length = std::snprintf(line, sizeof line, "%llu ", static_cast<unsigned long long>(clock_since_start()));
    va_list arguments;
    va_start(arguments, format);
    const int written = std::vsnprintf(line + length, sizeof line - static_cast<std::size_t>(length), format, arguments);
    va_end(arguments);
    if (written > 0) length += written;
    // A line too long for the buffer keeps its start.
    length = std::min(length, static_cast<int>(sizeof line) - 2);
    line[length++] = '\n';
    std::fwrite(line, 1, static_cast<std::size_t>(length), stderr);
}

// SCRIVO_TRACE=1: a line on stderr for each frame, each event delivered and each try at the
// display, for those who watch the program from outside.
bool tracing() {
    const char* asked = std::getenv("SCRIVO_TRACE");
    return asked != nullptr && std::string_view(asked) == "1";
}

// Said after a pointer event's place, for all but the mouse.
const char* source_name(PointerSource source) {
    switch (source) {
    case PointerSource::Mouse: return "";
    case PointerSource::Touch: return " touch";
    case PointerSource::Pen: return " pen";
    case PointerSource::Eraser: return " eraser";
    }
    return "";
}

void trace_event(const DeviceEvent& e) {
    using Type = DeviceEvent::Type;
    const char* source = source_name(e.source);
    switch (e.type) {
    case Type::PointerDown: trace_line("pointer down %d %d%s", e.x, e.y, source); break;
    case Type::PointerMove: trace_line("pointer move %d %d%s", e.x, e.y, source); break;
    case Type::PointerUp: trace_line("pointer up %d %d%s", e.x, e.y, source); break;
    case Type::PointerHover: trace_line("pointer hover %d %d%s", e.x, e.y, source); break;
    case Type::PointerCancel: trace_line("pointer cancel %d %d", e.x, e.y); break;
    case Type::FingerTap: trace_line("tap of %d fingers at %d %d", e.fingers, e.x, e.y); break;
    case Type::RightButtonDown: trace_line("right button down %d %d", e.x, e.y); break;
    case Type::RightButtonUp: trace_line("right button up %d %d", e.x, e.y); break;
    case Type::Wheel: trace_line("wheel %d at %d %d", e.wheel, e.x, e.y); break;
    case Type::KeyDown: trace_line("key down %d%s", e.vk, e.repeat ? " repeat" : ""); break;
    case Type::KeyUp: trace_line("key up %d", e.vk); break;
    case Type::Text: trace_line("text %u", static_cast<unsigned>(e.character)); break;
    case Type::FocusGained: trace_line("focus gained"); break;
    case Type::FocusLost: trace_line("focus lost"); break;
    case Type::CloseRequested: trace_line("close requested"); break;
    case Type::Wake: trace_line("wake"); break;
    case Type::ScreenLost: trace_line("screen lost"); break;
    }
}

// The display's refresh rate from its mode, 60 where the mode does not give one.
int display_refresh_rate(SDL_Window* window) {
    SDL_DisplayMode mode{};
    if (SDL_GetWindowDisplayMode(window, &mode) == 0 && mode.refresh_rate > 0) return mode.refresh_rate;
    if (SDL_GetCurrentDisplayMode(std::max(SDL_GetWindowDisplayIndex(window), 0), &mode) == 0 && mode.refresh_rate > 0)
        return mode.refresh_rate;
    return 60;
}

// Starts SDL's video on the display it is given. SDL alone would fall back to its offscreen
// driver when that display refuses, and the program would run where nobody sees it, holding its
// single-instance name; so the driver is named, and only one that shows something is named.
bool init_video(const DisplayToOpen& to_open, std::string* error) {
    if (const char* asked = std::getenv("SDL_VIDEODRIVER"); asked != nullptr && *asked != 0) {
        // Whoever names a driver gets it, an invisible one included.
        if (SDL_Init(SDL_INIT_VIDEO) == 0) return true;
        *error = std::string("cannot start the video driver ") + asked + ": " + SDL_GetError();
        return false;
    }
    const DisplayName& display = to_open.display;
    if (display.kind == DisplayName::Kind::None) {
        *error = "found no display: neither DISPLAY nor WAYLAND_DISPLAY names one";
        return false;
    }
    if (!to_open.listening) {
        *error = "found no display: nothing listens as " + display.name;
        return false;
    }
    SDL_SetHint(SDL_HINT_VIDEODRIVER, display.kind == DisplayName::Kind::X11 ? "x11" : "wayland");
    const auto give_up = std::chrono::steady_clock::now() + kRefusalPatience;
    for (;;) {
        std::string reason;
        if (display.kind == DisplayName::Kind::X11) {
            const X11Hold hold(display.name, display.socket_path, kAnswerPatience);
            if (hold.held() && SDL_Init(SDL_INIT_VIDEO) == 0) return true;
            reason = hold.unanswered() ? "it does not answer" : hold.held() ? SDL_GetError() : "it refuses the connection";
        } else {
            if (SDL_Init(SDL_INIT_VIDEO) == 0) return true;
            reason = SDL_GetError();
        }
        if (std::chrono::steady_clock::now() >= give_up) {
            *error = "cannot open the display " + display.name + ": " + reason;
            SDL_Quit();
            return false;
        }
        if (tracing()) trace_line("display %s did not open; trying again", display.name.c_str());
        std::this_thread::sleep_for(kRefusalRetry);
    }
}

}  // namespace

SdlScreen sdl_screen_from_environment() {
    SdlScreen screen;
    const char* asked = std::getenv("SCRIVO_SCREEN");
    if (asked == nullptr || asked[0] == '\0') return screen;
    if (!parse_size(asked, &screen.width, &screen.height)) {
        std::fprintf(stderr, "%s: SCRIVO_SCREEN=%s is not a screen size such as 240x320; using the whole display\n",
                     program_name().c_str(), asked);
        screen = {};
    }
    return screen;
}

std::unique_ptr<SdlBackend> SdlBackend::open(const SdlScreen& screen, const DisplayToOpen& display,
                                             const std::string& window_class, std::string* error) {
    // SDL takes the class from these (X11's WM_CLASS, Wayland's app id), else from the program
    // file's name, which changes when an installation replaces the running program.
    if (!window_class.empty()) {
        setenv("SDL_VIDEO_X11_WMCLASS", window_class.c_str(), 0);
        setenv("SDL_VIDEO_WAYLAND_WMCLASS", window_class.c_str(), 0);
    }
    // Signals are the platform's own business (they reach the program as a close request).
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // A full-screen window stays put when another program comes to the front.
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    // The window manager's close arrives once, as the window's close event.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    // The tap that brings the window to the front is also input.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    if (!init_video(display, error)) return nullptr;
    // X11 has a framebuffer of its own that updates only the rectangles asked for, where SDL's
    // default would re-upload the whole surface through a renderer at every update. Drivers without
    // one (Wayland, KMS/DRM) have only that renderer's texture to present through.
    if (std::string_view(SDL_GetCurrentVideoDriver()) == "x11")
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    else
        SDL_ResetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION);
    SDL_DisplayMode desktop{};
    if (SDL_GetDesktopDisplayMode(0, &desktop) != 0) {
        *error = SDL_GetError();
        SDL_Quit();
        return nullptr;
    }
    bool emulated = screen.width != 0 && screen.height != 0;
    if (emulated && (screen.width > desktop.w || screen.height > desktop.h)) {
        std::fprintf(stderr, "%s: SCRIVO_SCREEN=%dx%d is larger than the display (%dx%d); using the whole display\n",
                     program_name().c_str(), screen.width, screen.height, desktop.w, desktop.h);
        emulated = false;
    }
    const int width = emulated ? screen.width : desktop.w;
    const int height = emulated ? screen.height : desktop.h;
    Uint32 flags = emulated ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_BORDERLESS;
    // Shown with the first frame: a program that ends before it draws anything (a second copy
    // that hands over to the first) never flashes an empty screen.
    flags |= SDL_WINDOW_HIDDEN;
    const Uint32 wake_type = SDL_RegisterEvents(1);
    const int position = emulated ? SDL_WINDOWPOS_CENTERED : 0;
    SDL_Window* window = SDL_CreateWindow(window_class.c_str(), position, position, width, height, flags);
    if (window == nullptr || wake_type == static_cast<Uint32>(-1)) {
        *error = SDL_GetError();
        if (window != nullptr) SDL_DestroyWindow(window);
        SDL_Quit();
        return nullptr;
    }
    // Without a window manager the borderless window at the desktop's size already covers the screen.
    if (!emulated && x11_without_window_manager(window)) SDL_SetWindowFullscreen(window, 0);
    std::string complaint;
    const int desktop_scale =
        sdl_desktop_scale(std::getenv("SCRIVO_SCALE"), std::getenv("GDK_SCALE"), sdl_x_resources(window), &complaint);
    if (!complaint.empty()) std::fprintf(stderr, "%s: %s\n", program_name().c_str(), complaint.c_str());
    std::unique_ptr<SdlBackend> backend(new SdlBackend(window, width, height, wake_type, desktop_scale));
    if (backend->wake_fd_ < 0 || !backend->attach_surface()) {
        *error = std::string("no surface to draw the window with: ") + SDL_GetError();
        return nullptr;
    }
    return backend;
}

SdlBackend::SdlBackend(SDL_Window* window, int width, int height, std::uint32_t wake_type, int desktop_scale)
    : window_(window),
      width_(width),
      height_(height),
      wake_type_(wake_type),
      refresh_rate_(display_refresh_rate(window)),
      desktop_scale_(desktop_scale),
      wake_fd_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)),
      connection_fd_(x11_watch_connection(window, &lost_)),
      input_(width, height, wake_type),
      x_sources_(XInputSources::open(window)),
      audio_(std::make_unique<SdlAudio>()),
      trace_(tracing()) {
    // As on a pen device: no pointer over the page, and no text-input machinery behind the keys.
    SDL_ShowCursor(SDL_DISABLE);
    SDL_StopTextInput();
    if (trace_) trace_line("refresh %d Hz", refresh_rate_);
}

SdlBackend::~SdlBackend() {
    audio_.reset();
    if (wake_fd_ >= 0) close(wake_fd_);
    // Closing a display that is gone would end the process from inside Xlib; its ending frees it.
    if (lost_) {
        if (x_sources_) x_sources_->abandon();
        return;
    }
    for (SDL_Cursor* cursor : {wait_cursor_, arrow_cursor_, picture_cursor_})
        if (cursor != nullptr) SDL_FreeCursor(cursor);
    SDL_DestroyWindow(window_);
    SDL_Quit();
}

bool SdlBackend::attach_surface() {
    surface_ = SDL_GetWindowSurface(window_);
    if (surface_ == nullptr) return false;
    const bool direct = surface_->format->format == SDL_PIXELFORMAT_RGB888 && surface_->w == width_ &&
                        surface_->h == height_ && surface_->pitch % 4 == 0;
    if (direct) {
        pixels_ = static_cast<std::uint32_t*>(surface_->pixels);
        pitch_ = surface_->pitch / 4;
        prefault_pixels(pixels_, static_cast<std::size_t>(surface_->pitch) * static_cast<std::size_t>(surface_->h));
        own_.clear();
        own_.shrink_to_fit();
    } else {
        own_.assign(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), 0);
        pixels_ = own_.data();
        pitch_ = width_;
    }
    return true;
}

void SdlBackend::present(const Rect* rects, int count) {
    if (lost_) return;
    const Rect bounds = intersect({0, 0, width_, height_}, {0, 0, surface_->w, surface_->h});
    update_.clear();
    for (int i = 0; i < count; ++i) {
        const Rect r = intersect(rects[i], bounds);
        if (r.empty()) continue;
        if (!own_.empty()) {
            const std::uint32_t* from = pixels_ + static_cast<std::ptrdiff_t>(r.top) * pitch_ + r.left;
            auto* to = static_cast<std::uint8_t*>(surface_->pixels) + static_cast<std::ptrdiff_t>(r.top) * surface_->pitch +
                       static_cast<std::ptrdiff_t>(r.left) * surface_->format->BytesPerPixel;
            SDL_ConvertPixels(r.width(), r.height(), SDL_PIXELFORMAT_RGB888, from, pitch_ * 4,
                              surface_->format->format, to, surface_->pitch);
        }
        update_.push_back({r.left, r.top, r.width(), r.height()});
    }
    if (update_.empty()) return;
    if (SDL_GetWindowFlags(window_) & SDL_WINDOW_HIDDEN) SDL_ShowWindow(window_);
    // Traced as the frame is handed over: a large frame takes the X server a while to take.
    if (trace_) trace_line("presented %d rects", static_cast<int>(update_.size()));
    SDL_UpdateWindowSurfaceRects(window_, update_.data(), static_cast<int>(update_.size()));
}

bool SdlBackend::handle_window_change(const SDL_Event& sdl_event, DeviceEvent* event) {
    if (sdl_event.type != SDL_WINDOWEVENT) return false;
    switch (sdl_event.window.event) {
    case SDL_WINDOWEVENT_EXPOSED:
        // The surface still holds what was presented; only the window lost it.
        SDL_UpdateWindowSurface(window_);
        // Not a new frame: the trace keeps "presented" for frames the program drew.
        if (trace_) trace_line("exposed, shown again");
        return false;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        // SDL makes a new surface for the new size: what was presented is gone.
        if (!attach_surface()) return false;
        *event = DeviceEvent{};
        event->type = DeviceEvent::Type::ScreenLost;
        return true;
    default: return false;
    }
}

bool SdlBackend::next_event(DeviceEvent* event, int timeout_ms) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms > 0 ? timeout_ms : 0);
    if (input_.take_pending(event)) {
        if (trace_) trace_event(*event);
        return true;
    }
    for (;;) {
        SDL_Event sdl_event;
        while (!lost_ && SDL_PollEvent(&sdl_event)) {
            // With SDL's signal handlers and its quit on the last window's close turned off, SDL
            // speaks of quitting only when the display's connection is gone (a compositor ended).
            if (sdl_event.type == SDL_QUIT) lost_ = true;
            if (lost_) break;
            const bool mouse = sdl_event.type == SDL_MOUSEMOTION || sdl_event.type == SDL_MOUSEBUTTONDOWN ||
                               sdl_event.type == SDL_MOUSEBUTTONUP || sdl_event.type == SDL_MOUSEWHEEL;
            if (mouse && x_sources_) input_.set_mouse_source(x_sources_->latest());
            if (!handle_window_change(sdl_event, event) && !input_.translate(sdl_event, event)) continue;
            // SDL's wake event and the counter stand for the same wake-up.
            if (event->type == DeviceEvent::Type::Wake) take_wake();
            if (trace_) trace_event(*event);
            return true;
        }
        *event = DeviceEvent{};
        if (lost_ && !lost_told_) {
            // The program hears it as a request to close: it saves and ends the way it always does.
            lost_told_ = true;
            event->type = DeviceEvent::Type::CloseRequested;
        } else if (take_wake()) {
            event->type = DeviceEvent::Type::Wake;
        } else {
            int left = -1;
            if (timeout_ms >= 0) {
                const auto now = Clock::now();
                if (now >= deadline) return false;
                left = static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(deadline - now).count());
            }
            wait(left);
            continue;
        }
        if (trace_) trace_event(*event);
        return true;
    }
}

void SdlBackend::wait(int timeout_ms) {
    if (connection_fd_ < 0 && !lost_) {
        SDL_WaitEventTimeout(nullptr, timeout_ms);
        return;
    }
    pollfd watched[] = {{wake_fd_, POLLIN, 0}, {lost_ ? -1 : connection_fd_, POLLIN, 0}};
    poll(watched, 2, timeout_ms);
}

bool SdlBackend::take_wake() {
    eventfd_t count = 0;
    return eventfd_read(wake_fd_, &count) == 0;
}

void SdlBackend::wake() {
    eventfd_write(wake_fd_, 1);
    // SDL waits on drivers other than X11 itself, and only its own events end that wait.
    if (connection_fd_ < 0 && !lost_) {
        SDL_Event event{};
        event.type = wake_type_;
        SDL_PushEvent(&event);
    }
}

void SdlBackend::set_cursor(const CursorLook& look) {
    if (lost_) return;
    SDL_Cursor* cursor = nullptr;
    switch (look.kind) {
    case CursorLook::Kind::Hidden: break;
    case CursorLook::Kind::Wait:
        if (wait_cursor_ == nullptr) wait_cursor_ = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_WAIT);
        cursor = wait_cursor_;
        break;
    case CursorLook::Kind::Arrow:
        if (arrow_cursor_ == nullptr) arrow_cursor_ = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
        cursor = arrow_cursor_;
        break;
    case CursorLook::Kind::Picture:
        if (picture_cursor_ == nullptr || picture_id_ != look.picture_id) {
            SDL_Surface* picture = SDL_CreateRGBSurfaceWithFormatFrom(
                const_cast<std::uint32_t*>(look.pixels.data()), look.width, look.height, 32, look.width * 4,
                SDL_PIXELFORMAT_ARGB8888);
            SDL_Cursor* made = picture ? SDL_CreateColorCursor(picture, look.hot_x, look.hot_y) : nullptr;
            if (picture != nullptr) SDL_FreeSurface(picture);
            if (made != nullptr) {
                if (picture_cursor_ != nullptr) SDL_FreeCursor(picture_cursor_);
                picture_cursor_ = made;
                picture_id_ = look.picture_id;
            }
        }
        cursor = picture_id_ == look.picture_id ? picture_cursor_ : nullptr;
        break;
    }
    // A shape the display cannot make still shows as its default pointer.
    if (cursor != nullptr) SDL_SetCursor(cursor);
    SDL_ShowCursor(look.kind == CursorLook::Kind::Hidden ? SDL_DISABLE : SDL_ENABLE);
}

void SdlBackend::set_text_input(bool on) {
    if (lost_) return;
    if (on) {
        SDL_StartTextInput();
    } else {
        SDL_StopTextInput();
    }
}

void SdlBackend::set_icon(const std::uint32_t* argb, int width, int height) {
    if (lost_ || !argb || width <= 0 || height <= 0) return;
    // SDL copies the pixels into the window's icon property: the surface only lends them.
    SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<std::uint32_t*>(argb), width, height, 32,
                                                           width * 4, SDL_PIXELFORMAT_ARGB8888);
    if (!icon) return;
    SDL_SetWindowIcon(window_, icon);
    SDL_FreeSurface(icon);
}

void SdlBackend::raise() {
    if (lost_) return;
    if (SDL_GetWindowFlags(window_) & SDL_WINDOW_MINIMIZED) SDL_RestoreWindow(window_);
    SDL_RaiseWindow(window_);
    // Without a window manager to hand it over, the keyboard focus has to be taken.
    SDL_SetWindowInputFocus(window_);
    if (trace_) trace_line("raised");
}

}  // namespace platform
