#include "KeyState.h"

#include <QGuiApplication>
#include <utility>

#if defined(TALLYFERN_HAVE_XKB)
#include <X11/XKBlib.h>
#include <X11/keysym.h>
#endif

namespace {

NumLockReader& Reader() {
    static NumLockReader reader;
    return reader;
}

std::optional<bool> ReadFromWindowSystem() {
#if defined(TALLYFERN_HAVE_XKB) && QT_CONFIG(xcb)
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
    if (!display)
        return std::nullopt;
    // Num Lock is a modifier whose bit differs between keyboard maps.
    const unsigned mask = XkbKeysymToModifiers(display, XK_Num_Lock);
    XkbStateRec state{};
    if (mask == 0 || XkbGetState(display, XkbUseCoreKbd, &state) != Success)
        return std::nullopt;
    return (state.locked_mods & mask) != 0;
#else
    return std::nullopt;
#endif
}

}  // namespace

NumLockReader SetNumLockReader(NumLockReader reader) {
    return std::exchange(Reader(), std::move(reader));
}

std::optional<bool> ReadNumLockState() {
    if (Reader())
        return Reader()();
    return ReadFromWindowSystem();
}
