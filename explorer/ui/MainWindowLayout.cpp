// Restoring the main window's layout at creation and saving it at close.
#include "explorer/ui/MainWindow.h"

#include "docking/BandValue.h"
#include "docking/ScreenFit.h"
#include "docking/ui/DockLayout.h"
#include "explorer/browser/LoaderThread.h"
#include "explorer/settings/ElementListStyles.h"

#include <QCloseEvent>
#include <QDockWidget>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

namespace qb::ui {
namespace {

std::optional<docking::PanePlace> placeOf(const std::optional<settings::DockingRecord>& record)
{
    if (!record)
        return std::nullopt;
    return docking::decodePlace(*record);
}

} // namespace

std::vector<QDockWidget*> MainWindow::paneList() const
{
    return m_panes;
}

std::vector<QToolBar*> MainWindow::bandList() const
{
    return {m_standardBar, m_databaseBar};
}

void MainWindow::restoreLayout()
{
    const settings::StoredLayout stored = m_layoutStore.read(3);
    const settings::WindowRect& r = stored.rect;
    QRect rect(r.left, r.top, r.right - r.left, r.bottom - r.top);
    if (rect.width() < 100 || rect.height() < 100)
        rect = QRect(0, 0, 400, 400);
    rect = docking::fitOnScreens(rect, docking::availableScreenAreas());
    // left and top place the window's frame, as move() does; the rest is the window's own size.
    move(rect.topLeft());
    resize(rect.size());
    // Maximised once shown, so that the window has its normal rectangle to go back to.
    m_maximizeWhenShown = stored.fullWindow;

    // The menu bar (band 60160) always comes first; the toolbars follow it.
    std::vector<std::optional<uint32_t>> values(2);
    for (const settings::ToolbarBand& band : stored.bands) {
        if (band.id == uint32_t(kBandStandard))
            values[0] = band.value;
        else if (band.id == uint32_t(kBandDatabase))
            values[1] = band.value;
    }
    docking::restoreBands(*this, bandList(), values);

    docking::restorePanes(*this, paneList(),
                          {placeOf(stored.dataQuickView), placeOf(stored.dataTree), placeOf(stored.report),
                           placeOf(stored.sqlEdit)});
    applyViewFlags();
}

void MainWindow::applyViewFlags()
{
    m_standardBar->setVisible(m_view.standardToolbarVisible());
    m_databaseBar->setVisible(m_view.databaseToolbarVisible());
    statusBar()->setVisible(m_view.statusBarVisible());
    setToolbarsLocked(m_view.toolbarsLocked());
}

long MainWindow::saveLayout()
{
    settings::WindowLayout layout;
    layout.maximized = isMaximized();
    // The normal rectangle, also of a maximised window; its corner where move() puts the frame.
    QRect normal = normalGeometry();
    if (normal.isEmpty())
        normal = geometry();
    const QPoint frameOffset = geometry().topLeft() - pos();
    const QPoint corner = normal.topLeft() - frameOffset;
    layout.rect = {corner.x(), corner.y(), corner.x() + normal.width(), corner.y() + normal.height()};

    const std::vector<uint32_t> bands = docking::measureBands(*this, bandList(), 1);
    docking::BandValue menu;
    menu.width = uint16_t(std::clamp(menuBar()->width(), 0, 0xFFFF));
    layout.bands = {{uint32_t(kBandMenu), menu.encode()},
                    {uint32_t(kBandStandard), bands[0]},
                    {uint32_t(kBandDatabase), bands[1]}};

    const std::vector<docking::PanePlace> places = docking::measurePanes(*this, paneList());
    layout.dataQuickView = docking::encodePlace(places[QuickViewPane]);
    layout.dataTree = docking::encodePlace(places[TreePane]);
    layout.report = docking::encodePlace(places[ReportPane]);
    layout.sqlEdit = docking::encodePlace(places[SqlPaneId]);

    m_view.setStandardToolbarVisible(!m_standardBar->isHidden());
    m_view.setDatabaseToolbarVisible(!m_databaseBar->isHidden());
    m_view.setStatusBarVisible(!statusBar()->isHidden());
    long result = m_layoutStore.save(m_view, layout, m_options.saveLayout, m_recent);
    if (m_options.saveLayout) {
        // The list modes are view state too: written with the layout, only those changed here.
        for (int slot : m_changedListStyles) {
            settings::ElementListStyles* styles =
                slot == 0 ? m_sharedListStyles.get() : m_loader->state().elements().listStyles(slot);
            const long rc = styles ? styles->loadSave(settings::SettingsGroup::Write) : 0;
            if (result == 0)
                result = rc;
        }
        m_changedListStyles.clear();
    }
    return result;
}

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (m_maximizeWhenShown) {
        m_maximizeWhenShown = false;
        setWindowState(windowState() | Qt::WindowMaximized);
    }
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    saveLayout();
    m_closing = true;
    m_idleTimer->stop();
    m_loader->stop();
    event->accept();
}

} // namespace qb::ui
