#pragma once

#include "capture/tablepicture.h"
#include "capture/tabletitle.h"
#include "text/cp932.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

// A table window of the test's own on the X display, drawn straight with xcb: titled as the
// client titles its tables, mapped, and painted once (and again on request).
class OwnTableWindow {
public:
    explicit OwnTableWindow(int layout, std::string room = "bench", int table = 1)
    {
        m_connection = xcb_connect(nullptr, nullptr);
        // The first connection to a display that xvfb-run has only just started may fail.
        for (int attempt = 0; attempt < 50 && xcb_connection_has_error(m_connection); ++attempt) {
            xcb_disconnect(m_connection);
            usleep(100000);
            m_connection = xcb_connect(nullptr, nullptr);
        }
        if (xcb_connection_has_error(m_connection))
            return;
        xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data;
        TableScene scene;
        scene.layout = layout;
        for (int i = 0; i < 64; ++i)
            scene.cells[size_t(i)] = uint8_t(i % 3);
        scene.upperName = "OthelloKING_1975";
        scene.lowerName = "taiga99";
        const Picture picture = tablepicture::draw(scene);
        m_window = xcb_generate_id(m_connection);
        const uint32_t values[] = { screen->white_pixel };
        xcb_create_window(m_connection, XCB_COPY_FROM_PARENT, m_window, screen->root, 0, 0,
            uint16_t(picture.width()), uint16_t(picture.height()), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
            screen->root_visual, XCB_CW_BACK_PIXEL, values);
        const std::string title = cp932::toUtf8(tabletitle::make(room, table, "host"));
        xcb_intern_atom_reply_t* name = xcb_intern_atom_reply(
            m_connection, xcb_intern_atom(m_connection, 0, 12, "_NET_WM_NAME"), nullptr);
        xcb_intern_atom_reply_t* utf8 = xcb_intern_atom_reply(
            m_connection, xcb_intern_atom(m_connection, 0, 11, "UTF8_STRING"), nullptr);
        xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, m_window, name->atom, utf8->atom,
            8, uint32_t(title.size()), title.data());
        std::free(name);
        std::free(utf8);
        xcb_map_window(m_connection, m_window);
        m_picture = picture;
        m_depth = screen->root_depth;
        paint();
    }

    // Draws the picture into the window again: the capture's first scan moves the window's
    // pixels off-screen, which loses what an unattended window showed.
    void paint()
    {
        const Picture& picture = *m_picture;
        xcb_gcontext_t gc = xcb_generate_id(m_connection);
        xcb_create_gc(m_connection, gc, m_window, 0, nullptr);
        // Row by row, so that every request stays small.
        std::vector<uint8_t> row(size_t(picture.width()) * 4);
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                const Rgb p = picture.at(x, y);
                row[size_t(x) * 4 + 0] = p.blue;
                row[size_t(x) * 4 + 1] = p.green;
                row[size_t(x) * 4 + 2] = p.red;
                row[size_t(x) * 4 + 3] = 0;
            }
            xcb_put_image(m_connection, XCB_IMAGE_FORMAT_Z_PIXMAP, m_window, gc,
                uint16_t(picture.width()), 1, 0, int16_t(y), 0, m_depth, uint32_t(row.size()),
                row.data());
        }
        xcb_free_gc(m_connection, gc);
        sync();
    }
    ~OwnTableWindow() { xcb_disconnect(m_connection); }
    bool ok() const { return m_window != 0; }
    uint32_t id() const { return m_window; }
    // Gone at once, as a client window may go between two reads.
    void destroy()
    {
        xcb_destroy_window(m_connection, m_window);
        sync();
    }
    void resize(int width, int height)
    {
        const uint32_t values[] = { uint32_t(width), uint32_t(height) };
        xcb_configure_window(
            m_connection, m_window, XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT, values);
        sync();
    }

private:
    void sync()
    {
        std::free(
            xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
    }
    xcb_connection_t* m_connection = nullptr;
    uint32_t m_window = 0;
    std::optional<Picture> m_picture;
    uint8_t m_depth = 24;
};
