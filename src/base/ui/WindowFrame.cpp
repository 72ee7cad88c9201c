#include "WindowFrame.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

#ifdef TABLORA_XCB
#include <QElapsedTimer>
#include <QThread>
#include <QtGui/qguiapplication_platform.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

#include <xcb/xcb.h>
#endif

namespace {

#ifdef TABLORA_XCB

struct FreeReply
{
    void operator()(void *reply) const { std::free(reply); }
};
template<typename Reply>
using ReplyPtr = std::unique_ptr<Reply, FreeReply>;

xcb_atom_t atom(xcb_connection_t *c, const char *name)
{
    const ReplyPtr<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

// The property's 32-bit values; empty when it is missing.
std::vector<uint32_t> cardinals(xcb_connection_t *c, xcb_window_t window, xcb_atom_t property, xcb_atom_t type,
                                uint32_t count)
{
    const ReplyPtr<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(c, xcb_get_property(c, 0, window, property, type, 0, count), nullptr));
    if (!reply || reply->type != type || reply->format != 32)
        return {};
    const auto *values = static_cast<const uint32_t *>(xcb_get_property_value(reply.get()));
    return std::vector<uint32_t>(values, values + xcb_get_property_value_length(reply.get()) / 4);
}

std::optional<QMargins> askWindowManager(xcb_connection_t *c, xcb_window_t window)
{
    const ReplyPtr<xcb_get_geometry_reply_t> geometry(xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr));
    if (!geometry)
        return std::nullopt;
    const xcb_window_t root = geometry->root;
    const xcb_atom_t request = atom(c, "_NET_REQUEST_FRAME_EXTENTS");
    const xcb_atom_t extents = atom(c, "_NET_FRAME_EXTENTS");
    const std::vector<uint32_t> supported = cardinals(c, root, atom(c, "_NET_SUPPORTED"), XCB_ATOM_ATOM, 4096);
    if (std::find(supported.begin(), supported.end(), request) == supported.end())
        return std::nullopt; // no window manager, or one that cannot tell

    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = request;
    xcb_send_event(c, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char *>(&message));
    xcb_flush(c);

    // Qt reads the event queue on a thread of its own, so the answer is
    // looked for in the property itself.
    QElapsedTimer waited;
    waited.start();
    do {
        const std::vector<uint32_t> v = cardinals(c, window, extents, XCB_ATOM_CARDINAL, 4);
        if (v.size() == 4)
            return QMargins(int(v[0]), int(v[2]), int(v[1]), int(v[3])); // left, right, top, bottom
        QThread::msleep(2);
    } while (waited.elapsed() < 250);
    return std::nullopt;
}

#endif

} // namespace

namespace WindowFrame {

QMargins expectedMargins(QWidget &window)
{
    const WId id = window.winId();
#ifdef TABLORA_XCB
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 && QGuiApplication::platformName() == QLatin1String("xcb") && x11->connection()) {
        if (const auto margins = askWindowManager(x11->connection(), xcb_window_t(id)))
            return *margins;
    }
#else
    Q_UNUSED(id)
#endif
    return window.windowHandle()->frameMargins();
}

} // namespace WindowFrame
