#include "platform/x11desktop.h"

#include "text/cp932.h"

#include <xcb/composite.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

template <typename T> struct FreeReply {
    void operator()(T* p) const { std::free(p); }
};
template <typename T> using Reply = std::unique_ptr<T, FreeReply<T>>;

// Latin-1 bytes (WM_NAME of type STRING) as UTF-8.
std::string latin1ToUtf8(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            out += c;
        } else {
            out += static_cast<char>(0xC0 | byte >> 6);
            out += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return out;
}

// Reads rectangles of one window. A window whose pixels live off-screen is read from its pixmap
// (named for this pass, freed with the reader); otherwise from the window itself.
class X11WindowPixels : public PixelSource {
public:
    X11WindowPixels(
        xcb_connection_t* c, uint32_t drawable, uint32_t pixmap, int width, int height, int border)
        : m_connection(c)
        , m_drawable(pixmap ? pixmap : drawable)
        , m_pixmap(pixmap)
        , m_width(width)
        , m_height(height)
        , m_offset(pixmap ? border : 0)
    { }
    ~X11WindowPixels() override
    {
        if (m_pixmap)
            xcb_free_pixmap(m_connection, m_pixmap);
    }

    int width() const { return m_width; }
    int height() const { return m_height; }

    bool read(int x, int y, int width, int height, std::span<Rgb> out) override
    {
        if (x < 0 || y < 0 || width <= 0 || height <= 0 || x > m_width - width
            || y > m_height - height || out.size() < size_t(width) * size_t(height))
            return false;
        xcb_generic_error_t* error = nullptr;
        Reply<xcb_get_image_reply_t> image(xcb_get_image_reply(m_connection,
            xcb_get_image(m_connection, XCB_IMAGE_FORMAT_Z_PIXMAP, m_drawable,
                int16_t(x + m_offset), int16_t(y + m_offset), uint16_t(width), uint16_t(height),
                ~0u),
            &error));
        std::free(error);
        // Only the true-colour depths of today's displays: 32 bits a pixel, blue in the low byte.
        if (!image || (image->depth != 24 && image->depth != 32))
            return false;
        const uint8_t* data = xcb_get_image_data(image.get());
        const int length = xcb_get_image_data_length(image.get());
        const size_t stride = size_t(length) / size_t(height);
        if (stride < size_t(width) * 4)
            return false;
        for (int row = 0; row < height; ++row) {
            const uint8_t* p = data + size_t(row) * stride;
            for (int column = 0; column < width; ++column, p += 4)
                out[size_t(row) * size_t(width) + size_t(column)] = { p[2], p[1], p[0] };
        }
        return true;
    }

private:
    xcb_connection_t* m_connection;
    uint32_t m_drawable;
    uint32_t m_pixmap;
    int m_width;
    int m_height;
    int m_offset;
};

} // namespace

X11Desktop::X11Desktop(const char* display)
    : m_display(display ? display : "")
{
    connect();
}

bool X11Desktop::connect()
{
    if (m_connection && !xcb_connection_has_error(m_connection))
        return true;
    if (m_connection) {
        // The display went away: start afresh with the next one.
        xcb_disconnect(m_connection);
        m_connection = nullptr;
        m_atoms.clear();
        m_redirected.clear();
    }
    if (m_display.empty() && !std::getenv("DISPLAY"))
        return false;
    int screenNumber = 0;
    xcb_connection_t* c
        = xcb_connect(m_display.empty() ? nullptr : m_display.c_str(), &screenNumber);
    if (!c || xcb_connection_has_error(c)) {
        if (c)
            xcb_disconnect(c);
        return false;
    }
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; i < screenNumber && it.rem; ++i)
        xcb_screen_next(&it);
    if (!it.rem) {
        xcb_disconnect(c);
        return false;
    }
    m_connection = c;
    m_root = it.data->root;
    Reply<xcb_composite_query_version_reply_t> version(xcb_composite_query_version_reply(c,
        xcb_composite_query_version(c, XCB_COMPOSITE_MAJOR_VERSION, XCB_COMPOSITE_MINOR_VERSION),
        nullptr));
    // Naming a window's pixmap needs version 0.2.
    m_composite = version && (version->major_version > 0 || version->minor_version >= 2);
    return true;
}

X11Desktop::~X11Desktop()
{
    if (m_connection)
        xcb_disconnect(m_connection);
}

uint32_t X11Desktop::atom(const char* name)
{
    if (const auto it = m_atoms.find(name); it != m_atoms.end())
        return it->second;
    Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(m_connection,
        xcb_intern_atom(m_connection, 0, uint16_t(std::strlen(name)), name), nullptr));
    const uint32_t value = reply ? reply->atom : 0;
    m_atoms[name] = value;
    return value;
}

std::vector<uint32_t> X11Desktop::topLevelWindows()
{
    m_titles.clear();
    if (!connect())
        return {};
    // Errors of requests without replies (a window gone before its redirection, say) arrive as
    // events; nothing else is selected, so the queue only ever holds those.
    while (xcb_generic_event_t* event = xcb_poll_for_event(m_connection))
        std::free(event);
    // A window manager's list of its clients, bottom to top.
    Reply<xcb_get_property_reply_t> stacking(xcb_get_property_reply(m_connection,
        xcb_get_property(
            m_connection, 0, m_root, atom("_NET_CLIENT_LIST_STACKING"), XCB_ATOM_WINDOW, 0, 4096),
        nullptr));
    std::vector<uint32_t> candidates;
    bool managed = false;
    if (stacking && stacking->format == 32 && stacking->type == XCB_ATOM_WINDOW) {
        const auto* ids = static_cast<const uint32_t*>(xcb_get_property_value(stacking.get()));
        candidates.assign(ids, ids + xcb_get_property_value_length(stacking.get()) / 4);
        managed = !candidates.empty();
    }
    if (!managed) {
        Reply<xcb_query_tree_reply_t> tree(
            xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, m_root), nullptr));
        if (!tree)
            return {};
        const uint32_t* ids = xcb_query_tree_children(tree.get());
        candidates.assign(ids, ids + xcb_query_tree_children_length(tree.get()));
    }
    std::reverse(candidates.begin(), candidates.end()); // topmost first
    std::vector<uint32_t> windows = viewableWithTitles(candidates, !managed);
    // Windows that have gone are forgotten, so that the set stays as small as the desktop.
    std::erase_if(m_redirected, [&](uint32_t w) { return !m_titles.contains(w); });
    return windows;
}

std::vector<uint32_t> X11Desktop::viewableWithTitles(
    const std::vector<uint32_t>& candidates, bool descend)
{
    // Every request of the round goes out before the first answer is awaited.
    std::vector<xcb_get_window_attributes_cookie_t> attributes;
    std::vector<xcb_get_property_cookie_t> netNames;
    std::vector<xcb_get_property_cookie_t> names;
    const uint32_t utf8 = atom("UTF8_STRING");
    const uint32_t netWmName = atom("_NET_WM_NAME");
    for (const uint32_t w : candidates) {
        attributes.push_back(xcb_get_window_attributes(m_connection, w));
        netNames.push_back(xcb_get_property(m_connection, 0, w, netWmName, utf8, 0, 1024));
        names.push_back(
            xcb_get_property(m_connection, 0, w, XCB_ATOM_WM_NAME, XCB_ATOM_ANY, 0, 1024));
    }
    std::vector<uint32_t> windows;
    std::vector<uint32_t> frames;
    for (size_t i = 0; i < candidates.size(); ++i) {
        Reply<xcb_get_window_attributes_reply_t> a(
            xcb_get_window_attributes_reply(m_connection, attributes[i], nullptr));
        Reply<xcb_get_property_reply_t> netName(
            xcb_get_property_reply(m_connection, netNames[i], nullptr));
        Reply<xcb_get_property_reply_t> name(
            xcb_get_property_reply(m_connection, names[i], nullptr));
        if (!a || a->map_state != XCB_MAP_STATE_VIEWABLE
            || a->_class != XCB_WINDOW_CLASS_INPUT_OUTPUT)
            continue;
        std::string title;
        bool titled = false;
        if (netName && netName->format == 8 && netName->type == utf8) {
            titled = true;
            title = cp932::fromUtf8(
                std::string_view(static_cast<const char*>(xcb_get_property_value(netName.get())),
                    size_t(xcb_get_property_value_length(netName.get()))));
        } else if (name && name->format == 8 && name->type != XCB_ATOM_NONE) {
            titled = true;
            const std::string_view bytes(
                static_cast<const char*>(xcb_get_property_value(name.get())),
                size_t(xcb_get_property_value_length(name.get())));
            // STRING is Latin-1; anything else (compound text, UTF-8) is taken as UTF-8, which
            // keeps ASCII and turns the rest into "?" rather than into false CP932.
            title = cp932::fromUtf8(
                name->type == XCB_ATOM_STRING ? latin1ToUtf8(bytes) : std::string(bytes));
        }
        if (titled) {
            windows.push_back(candidates[i]);
            m_titles[candidates[i]] = std::move(title);
        } else if (descend) {
            frames.push_back(candidates[i]);
        }
    }
    for (const uint32_t frame : frames) {
        Reply<xcb_query_tree_reply_t> tree(
            xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, frame), nullptr));
        if (!tree)
            continue;
        const uint32_t* ids = xcb_query_tree_children(tree.get());
        std::vector<uint32_t> inner(ids, ids + xcb_query_tree_children_length(tree.get()));
        std::reverse(inner.begin(), inner.end());
        for (const uint32_t w : viewableWithTitles(inner, false))
            windows.push_back(w);
    }
    return windows;
}

std::string X11Desktop::title(uint32_t window)
{
    if (const auto it = m_titles.find(window); it != m_titles.end())
        return it->second;
    if (!m_connection)
        return {};
    const std::vector<uint32_t> found = viewableWithTitles({ window }, false);
    return found.empty() ? std::string() : m_titles[window];
}

std::unique_ptr<PixelSource> X11Desktop::pixels(uint32_t window)
{
    if (!m_connection || xcb_connection_has_error(m_connection))
        return nullptr;
    Reply<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(m_connection, xcb_get_geometry(m_connection, window), nullptr));
    if (!geometry)
        return nullptr;
    uint32_t pixmap = 0;
    if (m_composite) {
        if (m_redirected.insert(window).second)
            xcb_composite_redirect_window(m_connection, window, XCB_COMPOSITE_REDIRECT_AUTOMATIC);
        pixmap = xcb_generate_id(m_connection);
        xcb_generic_error_t* error = xcb_request_check(
            m_connection, xcb_composite_name_window_pixmap_checked(m_connection, window, pixmap));
        if (error) {
            // Not viewable any more, or not redirectable: read the window as it shows.
            std::free(error);
            pixmap = 0;
        }
    }
    return std::make_unique<X11WindowPixels>(
        m_connection, window, pixmap, geometry->width, geometry->height, geometry->border_width);
}

bool X11Desktop::size(uint32_t window, int& width, int& height)
{
    if (!m_connection)
        return false;
    Reply<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(m_connection, xcb_get_geometry(m_connection, window), nullptr));
    if (!geometry)
        return false;
    width = geometry->width;
    height = geometry->height;
    return true;
}

void X11Desktop::click(uint32_t window, int x, int y)
{
    if (!m_connection)
        return;
    Reply<xcb_translate_coordinates_reply_t> at(xcb_translate_coordinates_reply(m_connection,
        xcb_translate_coordinates(m_connection, window, m_root, int16_t(x), int16_t(y)), nullptr));
    if (!at)
        return;
    for (const bool press : { true, false }) {
        // xcb_send_event sends exactly 32 bytes of event.
        xcb_button_press_event_t event;
        std::memset(&event, 0, sizeof event);
        event.response_type = press ? XCB_BUTTON_PRESS : XCB_BUTTON_RELEASE;
        event.detail = 1;
        event.time = XCB_CURRENT_TIME;
        event.root = m_root;
        event.event = window;
        event.child = XCB_NONE;
        event.root_x = at->dst_x;
        event.root_y = at->dst_y;
        event.event_x = int16_t(x);
        event.event_y = int16_t(y);
        event.state = press ? 0 : XCB_BUTTON_MASK_1;
        event.same_screen = 1;
        xcb_send_event(m_connection, 0, window,
            press ? XCB_EVENT_MASK_BUTTON_PRESS : XCB_EVENT_MASK_BUTTON_RELEASE,
            reinterpret_cast<const char*>(&event));
    }
    xcb_flush(m_connection);
}
