// The main window's side of ReportSink and BrowserWindow: what a loader job's calls do once they
// have reached the GUI thread.
#include "explorer/ui/MainWindow.h"

#include "explorer/browser/xElement.h"
#include "explorer/ui/DataListModel.h"
#include "explorer/ui/DataListView.h"
#include "explorer/ui/QuickViewBar.h"
#include "explorer/ui/ReportLog.h"
#include "explorer/ui/SqlPane.h"
#include "explorer/ui/WidgetPrompts.h"

#include <QDockWidget>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>

namespace qb::ui {
namespace {

// How often a box that had to wait for the end of a wait looks again.
constexpr int kDeferredBoxRetryMs = 50;

} // namespace

void MainWindow::setProgressRange(int minimum, int maximum)
{
    m_progress->setRange(minimum, maximum);
}

void MainWindow::setProgressPos(int pos)
{
    m_progress->setValue(pos);
    m_progress->show();
    m_statusPanes[2]->hide();
}

void MainWindow::hideProgress()
{
    m_progress->hide();
    m_statusPanes[2]->show();
}

void MainWindow::postText(const QString& text, int pos)
{
    m_statusPanes[0]->setText(text);
    setProgressPos(pos);
}

void MainWindow::clearListColumns()
{
    m_dataList->model().clearColumns();
}

void MainWindow::addListColumn(const QString& text, int index, int width, int format)
{
    m_dataList->model().insertColumn(index, DataListModel::Column{text, width, format});
}

void MainWindow::setColumnWidth(int index, int width)
{
    m_dataList->model().setColumnWidth(index, width);
}

void MainWindow::addError(const QString& text)
{
    m_report->log().addEntry(text, ReportModel::Error);
    // An error brings the pane back where it was.
    if (m_panes[ReportPane]->isHidden()) {
        m_panes[ReportPane]->show();
        m_panes[ReportPane]->raise();
    }
}

void MainWindow::addInformation(const QString& text)
{
    m_report->log().addEntry(text, ReportModel::Information);
}

void MainWindow::setCurrentElement(browser::xElement* element, int index)
{
    m_currentElement = element;
    m_currentIndex = element ? index : 0;
    reportViewerStorageError(element);
    m_dataList->model().setElement(element);
    if (element) {
        m_listMode = listModeFor(index);
        m_dataList->setMode(m_listMode);
    }
    m_dataList->resetCursor();
    m_quickView->markElement(m_currentIndex);
    scheduleCommandUpdate();
}

void MainWindow::setListItemCount(int count)
{
    m_dataList->model().setItemCount(count);
    m_dataList->contentChanged();
}

void MainWindow::setElementPaneText(const QString& text)
{
    m_statusPanes[1]->setText(text);
}

void MainWindow::setObjectCountPaneText(const QString& text)
{
    m_statusPanes[2]->setText(text);
}

void MainWindow::setSqlPaneText(const QString& text)
{
    // An element without a query of its own (a folder) leaves the pane's text alone: clearing it
    // would only bury what the user typed one more undo step deep.
    if (text.isEmpty() && (!m_currentElement || !m_currentElement->acceptsSql()))
        return;
    m_sql->replaceText(text);
}

void MainWindow::enableQuickViewBar(bool enable)
{
    m_quickViewByLoader = enable;
    m_quickView->setEnabled(enable && isConnected() && isIdle());
    scheduleCommandUpdate();
}

void MainWindow::redrawList()
{
    m_dataList->model().refreshAll();
    m_dataList->activeView()->viewport()->update();
    scheduleCommandUpdate();
}

void MainWindow::showErrorBox(const QString& title, const QString& text)
{
    m_deferredErrorBoxes.emplace_back(title, text);
    flushDeferredErrorBoxes();
}

void MainWindow::flushDeferredErrorBoxes()
{
    if (m_closing || m_deferredErrorBoxes.empty())
        return;
    if (m_pumpDepth > 0) {
        // A modal box inside a wait would let the user act in the middle of it: later.
        QTimer::singleShot(kDeferredBoxRetryMs, this, &MainWindow::flushDeferredErrorBoxes);
        return;
    }
    const auto [title, text] = m_deferredErrorBoxes.front();
    m_deferredErrorBoxes.erase(m_deferredErrorBoxes.begin());
    showPlainMessage(this, settings::MessageIcon::Error, title, text);
    flushDeferredErrorBoxes();
}

} // namespace qb::ui
