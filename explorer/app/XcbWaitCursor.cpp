// The wait cursor on X11, put up from the watcher thread through a display connection of its own
// (Qt's connection belongs to the GUI thread). The GUI thread takes it down through Qt, which
// then sets every window's own cursor again.
#include "explorer/app/BusyCursorWatch.h"

#include <QGuiApplication>
#include <QWindow>

#include <mutex>
#include <vector>
#include <xcb/xcb.h>

namespace qb::app {
namespace {

// The watch glyph of the X cursor font and its mask.
constexpr uint16_t kWatchGlyph = 150;

class XcbWaitCursor : public WaitCursorSurface {
public:
    explicit XcbWaitCursor(xcb_connection_t* connection) : m_connection(connection)
    {
        const xcb_font_t font = xcb_generate_id(m_connection);
        xcb_open_font(m_connection, font, 6, "cursor");
        m_cursor = xcb_generate_id(m_connection);
        xcb_create_glyph_cursor(m_connection, m_cursor, font, font, kWatchGlyph, kWatchGlyph + 1, 0, 0, 0, 0xFFFF,
                                0xFFFF, 0xFFFF);
        xcb_close_font(m_connection, font);
        xcb_flush(m_connection);
    }
    ~XcbWaitCursor() override
    {
        xcb_free_cursor(m_connection, m_cursor);
        xcb_disconnect(m_connection);
    }

    void refreshWindows() override
    {
        std::vector<uint32_t> ids;
        for (QWindow* window : QGuiApplication::topLevelWindows())
            if (window->isVisible() && window->handle())
                ids.push_back(uint32_t(window->winId()));
        const std::lock_guard lock(m_mutex);
        m_windows = std::move(ids);
    }

    void showWait() override
    {
        const std::lock_guard lock(m_mutex);
        for (uint32_t id : m_windows)
            xcb_change_window_attributes(m_connection, id, XCB_CW_CURSOR, &m_cursor);
        xcb_flush(m_connection);
        // Errors for windows gone meanwhile are of no interest; drop what came in.
        while (xcb_generic_event_t* event = xcb_poll_for_event(m_connection))
            free(event);
    }

    void restore() override
    {
        // Qt puts every window's own cursor (or the override cursor) back when one is taken off.
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        QGuiApplication::restoreOverrideCursor();
    }

private:
    xcb_connection_t* m_connection;
    xcb_cursor_t m_cursor = 0;
    std::mutex m_mutex;
    std::vector<uint32_t> m_windows;
};

} // namespace

std::unique_ptr<WaitCursorSurface> platformWaitCursorSurface()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (!connection || xcb_connection_has_error(connection)) {
        if (connection)
            xcb_disconnect(connection);
        return nullptr;
    }
    return std::make_unique<XcbWaitCursor>(connection);
}

} // namespace qb::app
