// The viewers of long values: the plug-in menu of a "(BLOB)" or "(TEXT)" cell, the commands the
// plug-ins add, and the Plug-ins dialog.
#include "explorer/ui/MainWindow.h"

#include "explorer/browser/xElement.h"
#include "explorer/browser/xElement_Table.h"
#include "explorer/plugins/CellValueSource.h"
#include "explorer/plugins/ui/PluginMenuPopup.h"
#include "explorer/plugins/ui/PluginsDialog.h"
#include "explorer/ui/DataListModel.h"
#include "explorer/ui/DataListView.h"

#include <QTableView>

namespace qb::ui {

void MainWindow::openViewerMenu(int row, int column)
{
    plugins::CellValueSource* source = m_currentElement ? m_currentElement->cellValueSource() : nullptr;
    QTableView* view = m_dataList->tableView();
    if (!source || !isIdle())
        return;
    const QRect cell = view->visualRect(m_dataList->model().index(row, column));
    plugins::openPluginMenu(view->viewport(), cell, *source, row, column);
}

void MainWindow::runViewerCommand(int id)
{
    plugins::CellValueSource* source = m_currentElement ? m_currentElement->cellValueSource() : nullptr;
    if (!source || !isIdle() || m_dataList->model().rowCount() == 0)
        return;
    plugins::runPluginCommand(id, *source, m_dataList->cursorRow(), m_dataList->cursorColumn(), this);
}

void MainWindow::showPluginsDialog()
{
    plugins::PluginsDialog dialog(plugins::mainWindowElementKinds(), this);
    dialog.exec();
}

void MainWindow::reportViewerStorageError(browser::xElement* element)
{
    const auto* table = dynamic_cast<const browser::xElement_Table*>(element);
    if (!table || table->blobStorageError().isEmpty() || !m_storageErrorsShown.insert(table).second)
        return;
    addError(table->blobStorageError());
}

} // namespace qb::ui
