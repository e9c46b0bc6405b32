#include "backend/sdl/sdl_xinput.h"

#include <SDL2/SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

#include <cctype>
#include <string_view>
#include <vector>

namespace platform {
namespace {

void connection_broken(Display*, void* broken) { static_cast<std::atomic<bool>*>(broken)->store(true); }

int ignore_error(Display*, XErrorEvent*) { return 0; }

std::string lower(std::string_view text) {
    std::string result(text);
    for (char& c : result) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return result;
}

// Whole words only: a "Pentax" scanner or an "Open" button box is no pen.
bool has_word(const std::string& name, std::string_view word) {
    std::size_t start = 0;
    while (start < name.size()) {
        while (start < name.size() && !std::isalnum(static_cast<unsigned char>(name[start]))) ++start;
        std::size_t end = start;
        while (end < name.size() && std::isalnum(static_cast<unsigned char>(name[end]))) ++end;
        if (std::string_view(name).substr(start, end - start) == word) return true;
        start = end;
    }
    return false;
}

// The atom of a device property holding one atom, as a name; empty without it.
std::string atom_property(Display* display, int device_id, const char* property_name) {
    const Atom property = XInternAtom(display, property_name, True);
    if (property == None) return {};
    Atom type = None;
    int format = 0;
    unsigned long items = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    std::string value;
    if (XIGetProperty(display, device_id, property, 0, 1, False, XA_ATOM, &type, &format, &items, &after, &data) ==
            Success &&
        type == XA_ATOM && format == 32 && items == 1 && data != nullptr) {
        const Atom atom = static_cast<Atom>(*reinterpret_cast<long*>(data));
        if (char* name = XGetAtomName(display, atom)) {
            value = name;
            XFree(name);
        }
    }
    if (data != nullptr) XFree(data);
    return value;
}

}  // namespace

PointerSource classify_pointer_device(const XPointerDevice& device) {
    const std::string tool = lower(device.tool_type);
    if (tool == "eraser") return PointerSource::Eraser;
    if (tool == "stylus" || tool == "pen") return PointerSource::Pen;
    if (device.direct_touch) return PointerSource::Touch;
    const std::string name = lower(device.name);
    if (has_word(name, "eraser")) return PointerSource::Eraser;
    if (has_word(name, "stylus") || has_word(name, "pen")) return PointerSource::Pen;
    return PointerSource::Mouse;
}

std::unique_ptr<XInputSources> XInputSources::open(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11) return nullptr;
    Display* display = XOpenDisplay(DisplayString(info.info.x11.display));
    if (display == nullptr) return nullptr;
    std::unique_ptr<XInputSources> sources(new XInputSources(display, 0));
    // Until it is known whether this connection lives, a broken one must not end the process.
    XSetIOErrorExitHandler(display, connection_broken, &sources->broken_);
    int event = 0;
    int error = 0;
    int major = 2;
    int minor = 2;
    if (!XQueryExtension(display, "XInputExtension", &sources->opcode_, &event, &error) ||
        XIQueryVersion(display, &major, &minor) != Success || major < 2 || (major == 2 && minor < 2))
        return nullptr;
    // Raw events of the master pointer name the physical device in `sourceid`, and reach every
    // client that asks on the root window whoever has grabbed the pointer.
    unsigned char raw_bits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(raw_bits, XI_RawButtonPress);
    XISetMask(raw_bits, XI_RawButtonRelease);
    XISetMask(raw_bits, XI_RawMotion);
    XISetMask(raw_bits, XI_RawTouchBegin);
    unsigned char hierarchy_bits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(hierarchy_bits, XI_HierarchyChanged);
    XIEventMask masks[] = {{XIAllMasterDevices, sizeof raw_bits, raw_bits},
                           {XIAllDevices, sizeof hierarchy_bits, hierarchy_bits}};
    if (XISelectEvents(display, DefaultRootWindow(display), masks, 2) != Success) return nullptr;
    XFlush(display);
    return sources;
}

XInputSources::XInputSources(Display* display, int opcode) : display_(display), opcode_(opcode) {}

XInputSources::~XInputSources() {
    if (!broken_) {
        XCloseDisplay(display_);
        return;
    }
    // Closing a connection to a server that is gone would end the process from inside Xlib; it is
    // left as it is, reachable, for the process's end to free.
    static std::vector<Display*> left_open;
    left_open.push_back(display_);
}

PointerSource XInputSources::latest() {
    while (!broken_ && XEventsQueued(display_, QueuedAfterReading) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        XGenericEventCookie* cookie = &event.xcookie;
        if (cookie->type != GenericEvent || cookie->extension != opcode_ || !XGetEventData(display_, cookie)) continue;
        if (cookie->evtype == XI_HierarchyChanged) {
            // Devices came or went; their numbers may be given to others.
            known_.clear();
        } else {
            latest_ = source_of(static_cast<const XIRawEvent*>(cookie->data)->sourceid);
        }
        XFreeEventData(display_, cookie);
    }
    return latest_;
}

PointerSource XInputSources::source_of(int device_id) {
    const auto found = known_.find(device_id);
    if (found != known_.end()) return found->second;
    const PointerSource source = classify_pointer_device(describe(device_id));
    known_.emplace(device_id, source);
    return source;
}

XPointerDevice XInputSources::describe(int device_id) {
    // A device unplugged since its event was sent answers with an error, which would end the
    // process through Xlib's default handler.
    const XErrorHandler previous = XSetErrorHandler(ignore_error);
    XPointerDevice device = query(device_id);
    XSync(display_, False);
    XSetErrorHandler(previous);
    return device;
}

XPointerDevice XInputSources::query(int device_id) {
    XPointerDevice device;
    int count = 0;
    XIDeviceInfo* info = XIQueryDevice(display_, device_id, &count);
    if (info == nullptr) return device;
    if (count > 0) {
        device.name = info[0].name != nullptr ? info[0].name : "";
        for (int i = 0; i < info[0].num_classes; ++i) {
            const XIAnyClassInfo* any = info[0].classes[i];
            if (any->type == XITouchClass && reinterpret_cast<const XITouchClassInfo*>(any)->mode == XIDirectTouch)
                device.direct_touch = true;
        }
    }
    XIFreeDeviceInfo(info);
    // The tablet drivers' property: the tool a device stands for.
    device.tool_type = atom_property(display_, device_id, "Wacom Tool Type");
    return device;
}

}  // namespace platform
