#pragma once
// What the X server says about the top-level windows on DISPLAY: the window manager's stacking
// order (_NET_CLIENT_LIST_STACKING, bottom to top) and where each window is, read with xprop
// and xwininfo. Qt's own idea of its windows cannot show what the window manager did. Also the
// one thing a user does through the window manager that tests need: activate a window.

#include "XServer.h"

#include <QRect>
#include <QRegularExpression>
#include <QString>

#include <xcb/xcb.h>

#include <algorithm>
#include <optional>
#include <vector>

namespace kalvex::test {

using XId = unsigned long;

inline std::string Hex(XId window) {
    return "0x" + QString::number(window, 16).toStdString();
}

// The first window id of a window property as xprop prints it ("NAME: window id # 0x…"); 0
// when the property is not set.
inline XId WindowProperty(const std::vector<std::string>& xprop) {
    const QString text = QString::fromStdString(Capture(xprop));
    static const QRegularExpression id(QStringLiteral("#\\s*0x([0-9a-fA-F]+)"));
    return id.match(text).captured(1).toULong(nullptr, 16);
}

// The window that `window` says it belongs to; 0 for none.
inline XId TransientFor(XId window) {
    return WindowProperty({"xprop", "-id", Hex(window), "WM_TRANSIENT_FOR"});
}

// The managed client windows, bottom to top.
inline std::vector<XId> StackingOrder() {
    const QString text =
        QString::fromStdString(Capture({"xprop", "-root", "-notype", "_NET_CLIENT_LIST_STACKING"}));
    std::vector<XId> ids;
    const int list = text.indexOf(QLatin1Char('#'));
    if (list < 0)
        return ids;
    static const QRegularExpression hex(QStringLiteral("0x([0-9a-fA-F]+)"));
    for (const auto& m : hex.globalMatch(text.mid(list)))
        ids.push_back(m.captured(1).toULong(nullptr, 16));
    return ids;
}

struct XPlace {
    QRect rect; // the client area, in root coordinates
    bool viewable = false;
};

inline std::optional<XPlace> Place(XId window) {
    bool ok = false;
    const QString text = QString::fromStdString(Capture({"xwininfo", "-id", Hex(window)}, &ok));
    if (!ok)
        return std::nullopt;
    auto field = [&](const char* name) {
        static const QString pattern = QStringLiteral("%1:\\s*(-?\\d+)");
        const QRegularExpression re(pattern.arg(QRegularExpression::escape(name)));
        return re.match(text).captured(1).toInt();
    };
    XPlace place;
    place.rect = QRect(field("Absolute upper-left X"), field("Absolute upper-left Y"),
                       field("Width"), field("Height"));
    place.viewable = text.contains(QStringLiteral("Map State: IsViewable"));
    return place;
}

// Where `window` stands: not yet managed (nullopt), or the viewable windows stacked above it
// that overlap it on the screen, bottom to top (empty: nothing hides any part of it).
inline std::optional<std::vector<XId>> WindowsCovering(XId window) {
    const std::vector<XId> order = StackingOrder();
    const auto at = std::find(order.begin(), order.end(), window);
    if (at == order.end())
        return std::nullopt;
    const std::optional<XPlace> own = Place(window);
    if (!own || !own->viewable)
        return std::nullopt;
    std::vector<XId> covering;
    for (auto above = at + 1; above != order.end(); ++above) {
        const std::optional<XPlace> other = Place(*above);
        if (other && other->viewable && other->rect.intersects(own->rect))
            covering.push_back(*above);
    }
    return covering;
}

// Asks the window manager to activate a window the way a task bar does for a user's click
// (source 2). A program's own request (source 1) is subject to focus-stealing rules that
// refuse it without real input on the display.
inline bool ActivateAsUser(XId window) {
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    bool sent = false;
    if (!xcb_connection_has_error(c)) {
        static const char name[] = "_NET_ACTIVE_WINDOW";
        xcb_intern_atom_reply_t* atom =
            xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, sizeof name - 1, name), nullptr);
        if (atom) {
            xcb_client_message_event_t event{};
            event.response_type = XCB_CLIENT_MESSAGE;
            event.format = 32;
            event.window = static_cast<xcb_window_t>(window);
            event.type = atom->atom;
            event.data.data32[0] = 2;
            event.data.data32[1] = XCB_CURRENT_TIME;
            const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
            xcb_send_event(c, 0, root,
                           XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT |
                               XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                           reinterpret_cast<const char*>(&event));
            // A round trip: once answered, the server has passed the request on.
            xcb_get_input_focus_reply_t* focus =
                xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr);
            sent = focus != nullptr;
            free(focus);
            free(atom);
        }
    }
    xcb_disconnect(c);
    return sent;
}

} // namespace kalvex::test
