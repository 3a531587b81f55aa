#pragma once
// What the main window measures for a layout save, and what a restore finds in the registry.
// The window and the docking framework fill these; the settings code only stores them.
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace qb::settings {

// The docking framework's description of one pane's place; its inside is the framework's.
constexpr int kDockingRecordSize = 60;
using DockingRecord = std::array<unsigned char, kDockingRecordSize>;

constexpr uint32_t kFirstBandId = 60160;

struct ToolbarBand {
    uint32_t id = 0;    // the band's command id; the value is named by it in decimal
    uint32_t value = 0; // BandValue::encode()
};

struct WindowRect {
    int left = 0;
    int top = 0;
    int right = 400;
    int bottom = 400;
};

struct WindowLayout {
    bool maximized = false;         // the window says so itself (edges tell nothing on X11)
    WindowRect rect;                // screen coordinates; the normal rectangle of a maximised window
    std::vector<ToolbarBand> bands; // in band order
    DockingRecord report{};
    DockingRecord dataQuickView{};
    DockingRecord dataTree{};
    DockingRecord sqlEdit{};
};

struct StoredLayout {
    bool fullWindow = false; // IsFullWnd is 1: show maximised
    WindowRect rect;         // 0, 0, 400, 400 where nothing is stored
    std::vector<ToolbarBand> bands; // up to the first missing band value
    // Only records stored as REG_BINARY of exactly 60 bytes.
    std::optional<DockingRecord> report;
    std::optional<DockingRecord> dataQuickView;
    std::optional<DockingRecord> dataTree;
    std::optional<DockingRecord> sqlEdit;
};

} // namespace qb::settings
